// Key and filter expressions: the compiled tree, the values of its evaluation, and the compiler's
// and evaluator's interfaces.
//
// An expression text ("UPPER(NAME) = 'X' .AND. AGE > 3") is compiled once into a tree of
// s_ExprNode (ExprCompiler.cpp), checking the type of every operator and function argument,
// and then evaluated for the current record as often as needed (ExprEvaluator.cpp, with the
// built-in functions of ExprFunctions.cpp). Four value types exist; a set of types is the OR of
// their codes.
//
// The compiler and the evaluator keep the job, the work area and the key-shape flag in
// process-wide state (g_ExprState): two threads must not compile or evaluate at the same time.
#pragma once

#include <cstddef>
#include <cstdint>

#include <emmintrin.h>

#include "Area.h"

// Value types (one byte) and the compiler's failure code.
enum : uint8_t {
    EXPR_NUMBER = 1,    // a double with a width and decimals
    EXPR_DATE = 2,      // a day number as a double; DB_EMPTY_DATE is the empty date
    EXPR_STRING = 4,    // a NUL-terminated text with a width
    EXPR_LOGICAL = 8,   // 0 or 1
    EXPR_ANY = 0x0F,    // argument set: every type
    EXPR_SAME = 0x8F,   // argument set: the type of the argument before it
    EXPR_ARG_TYPE = 0x80, // result type 0x80 + k: the type of argument k (from 1)
    EXPR_FAIL = 0xFF,
};

// Node kinds.
enum : int32_t {
    EXPR_NEGATE = 0,     // operand
    EXPR_NOT = 1,        // operand
    EXPR_ARITHMETIC = 2, // op ('+', '-', '*', '/', '$'), type (result), left, right
    EXPR_COMPARE = 3,    // name (operator as written), code, left, right
    EXPR_CALL = 4,       // name (as written), code (function row, -1: parentheses), count, type, args
    EXPR_FIELD = 5,      // name, area (0: current at evaluation), field (-1: INDEXKEY), type, letter, width, decimals
    EXPR_NUMBER_CONST = 6, // number, type, width, decimals
    EXPR_STRING_CONST = 7, // text, width
    EXPR_LOGICAL_CONST = 8, // logical
};

// Comparison and logical operator codes.
enum : int32_t {
    EXPR_LE = 1,
    EXPR_NE = 2,
    EXPR_GE = 3,
    EXPR_GT = 4,
    EXPR_LT = 5,
    EXPR_EQ = 6,
    EXPR_SOUNDS_LIKE = 7,
    EXPR_AND = 10,
    EXPR_OR = 11,
    EXPR_XOR = 12,
};

const int EXPR_MAX_ARGS = 4;
const int EXPR_MAX_CONSTANT = 256;   // characters of a string constant
const int EXPR_NAME_SIZE = 21;       // function names (20 characters), operators, field names
// The longest text a value may hold (the longest memo text); longer results fail with error 13.
const size_t EXPR_MAX_TEXT = 1048575;

// One node of a compiled tree. Every node is one zero-filled block; each kind uses the fields its
// line above names. The children of kinds 0 to 4 belong to the node.
struct s_ExprNode {
    int32_t kind = 0;
    char op = 0;
    uint8_t type = 0;
    char letter = 0;
    int32_t code = 0;
    int32_t count = 0;
    int32_t area = 0;
    int32_t field = 0;
    int32_t width = 0;
    int32_t decimals = 0;
    int32_t logical = 0;
    double number = 0;
    s_ExprNode* args[EXPR_MAX_ARGS] = {};   // kinds 0, 1: operand; 2, 3: left, right; 4: arguments
    char name[EXPR_NAME_SIZE] = {};
    char text[EXPR_MAX_CONSTANT + 1] = {};
};

struct s_ExprValue;

// A compiled expression: its root and the type the compiler found for it. Owned by whoever
// compiled it (a filter, a locate condition, an index slot, a relation); freed with _expr_free.
// The values its evaluations free wait in spare (with their text buffers) for the next
// evaluation, so that evaluating a key for every record allocates nothing after the first.
struct s_Expression {
    s_ExprNode* root = nullptr;
    uint8_t type = 0;
    mutable s_ExprValue* spare = nullptr;
};

// One value of an evaluation. The caller of _expr_eval owns it and frees it with _expr_free_value.
struct s_ExprValue {
    uint8_t type = 0;
    int32_t width = 0;
    int32_t decimals = 0;
    double number = 0;          // numbers and dates
    int32_t logical = 0;        // logical values
    char* text = nullptr;       // strings (owned); NULL or "" when the value has no text
    size_t capacity = 0;        // bytes allocated for text
    const s_Expression* home = nullptr;   // the tree whose spare list takes the value back; NULL: the heap
    s_ExprValue* next = nullptr;          // in the spare list
};

// The state shared by the compiler and the evaluator for one compile or one evaluation.
struct s_ExprState {
    s_Job* job = nullptr;
    s_Area* area = nullptr;     // the work area current when the compile or evaluation began
    int keyShape = 0;           // evaluation computes only the type and width of a key
};
extern s_ExprState g_ExprState;

// Exports called during an evaluation (field reads, selections, comparisons, date conversions)
// look the job up, which clears the job's current error and the caller's error variable. Held
// around such a call, this puts back an error raised earlier in the same evaluation when the call
// itself raised none, so that a failing evaluation always leaves its error behind.
struct s_ExprKeepError {
    s_Job* job;
    unsigned code;
    s_ExprKeepError() : job(g_ExprState.job), code(job ? job->currentError : 0) {}
    ~s_ExprKeepError()
    {
        if (job && code && job->currentError == 0) {
            job->currentError = code;
            if (job->errorVariable)
                *job->errorVariable = code;
        }
    }
    s_ExprKeepError(const s_ExprKeepError&) = delete;
    s_ExprKeepError& operator=(const s_ExprKeepError&) = delete;
};

// ---- compiler -----------------------------------------------------------------------------------

// Compiles a text against the current job and work area; NULL on failure (error 18 with the
// message in the job's error detail, or the error a lookup raised, such as 6 for an unknown alias).
s_Expression* _expr_compile(const char* text);
// One step of the recursive compiler: writes the new node to *out and answers its type, or
// EXPR_FAIL (a partial tree may be left in *out). depth counts the levels above this one.
uint8_t _expr_parse(s_ExprNode** out, const char* text, int depth = 0);
void _expr_free(s_Expression* expression);
void _expr_free_node(s_ExprNode* node);
// The name of a type or type set in the compiler's messages ("double", "date", "string", ...).
const char* _expr_type_name(unsigned typeSet);

// ---- evaluator ----------------------------------------------------------------------------------

// Evaluates for the current record of the current work area; NULL on failure (the failing step
// has raised its error). keyShape: field values are blanks and most functions only set the type
// and width of their result.
s_ExprValue* _expr_eval(const s_Expression* expression, int keyShape);
void _expr_free_value(s_ExprValue* value);
// Frees the spare values a tree keeps (_expr_free does this).
void _expr_free_spare(const s_Expression* expression);

// The key text of an index slot's key expression for the current record: the text (at most max
// characters and a NUL into key), its type letter, width and decimals. FALSE when the evaluation
// fails.
BOOL _expr_key_text(const s_Index* slot, char* key, unsigned max, char* type, int* width, int* decimals, int keyShape);
// The same for any tree; numbers take the letter 'N' and the key size of the current work area's
// controlling index, and strings are not padded to their width.
BOOL _expr_eval_text(const s_Expression* expression, char* key, unsigned max, char* type, int* width, int* decimals,
                     int keyShape);
// Type letter, width and decimals of a slot's key without reading a record.
BOOL _expr_key_type(const s_Index* slot, char* type, int* width, int* decimals);

// A logical expression for the current record of the area: 1 true, 0 false (also for a value
// that is not logical), -1 evaluation failed (the error is raised).
int _expr_condition(s_Area& area, s_Expression* expression);

// The "sounds like" rule of "~=" and pcompare(): both texts are replaced in place by their
// phonetic codes; an empty left code matches only an empty right code, an empty right code
// matches nothing else, and otherwise the left code must begin with the right code.
bool _expr_sounds_like(s_ExprValue* left, s_ExprValue* right);

// Plugs the expression services into the table code (EngineHooks.h); done when the library
// starts.
void _expr_install_hooks();

// ---- values (used by the evaluator and the functions) --------------------------------------------

s_ExprValue* _expr_new_value();
// Makes room for a text of length characters (and the NUL), keeping the text held; FALSE (error
// 13 raised) when the text would be too long or no memory is left.
bool _expr_reserve(s_ExprValue* value, size_t length);
// Replaces the text by length characters of text (text may be NULL for length 0).
bool _expr_set_text(s_ExprValue* value, const char* text, size_t length);
// The text of a value, "" when it has none.
inline const char* _expr_text(const s_ExprValue* value) { return value->text ? value->text : ""; }
// strlen, reading 16 bytes at a time. The reads are aligned to 16 bytes, so none crosses into a
// page the text does not reach.
inline size_t _expr_length(const char* text)
{
    const uintptr_t start = (uintptr_t)text;
    const char* block = (const char*)(start & ~(uintptr_t)15);
    const __m128i zero = _mm_setzero_si128();
    unsigned mask = (unsigned)_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_load_si128((const __m128i*)block), zero));
    mask >>= (start & 15);
    if (mask)
        return (size_t)__builtin_ctz(mask);
    for (;;) {
        block += 16;
        mask = (unsigned)_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_load_si128((const __m128i*)block), zero));
        if (mask)
            return (size_t)(block + __builtin_ctz(mask) - text);
    }
}
