// A host program of the database library; its stack reserve is set at link time.
#include "vlDB07.h"

int main()
{
    // Importing one function keeps the library loaded from the start.
    return (int)(db_get_version(0) == 0x070E ? 0 : 1);
}
