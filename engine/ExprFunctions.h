// The 40 built-in functions of expressions: the table the compiler checks calls against and the
// handlers the evaluator calls.
#pragma once

#include "Expression.h"

// A handler computes its result into args[0] (a fresh value when the call has no arguments);
// FALSE makes the call fail (the handler has raised the error).
using ExprHandler = bool (*)(int count, s_ExprValue** args);

struct s_ExprFunction {
    const char* name;           // lower case; the compiler compares without regard to case
    ExprHandler handler;
    uint8_t result;             // a type, or EXPR_ARG_TYPE + k for the type of argument k
    int minArgs;
    int maxArgs;
    uint8_t argTypes[EXPR_MAX_ARGS];   // a type set per argument; EXPR_SAME: as the one before
};

// The rows in their fixed order; the table ends with a row whose name is empty.
extern const s_ExprFunction g_ExprFunctions[];
