// Exports for the binding-order test: each function answers its own number, and the .def file
// exports it under exactly one form of its name.
extern "C" {
int Plain() { return 1; }
int Decorated() { return 2; }
int Ansi() { return 3; }
int DecoratedAnsi() { return 4; }
int Both() { return 5; }
int BothA() { return 6; }
}
