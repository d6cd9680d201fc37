// The expression compiler: a recursive splitter. Each level trims its text and looks, in this
// order, for
//   1. a logical operator (" AND ", " OR ", " XOR ", ".AND.", ".OR.", ".XOR."; any case)
//   2. a leading NOT ("NOT " or ".NOT.")
//   3. a comparison ("=<>!#~" runs matched against the operator table)
//   4. an arithmetic operator: '+' or '-', else '*' or '/', else '$'
//   5. a leading sign
//   6. a function call or a parenthesised sub-expression
//   7. a constant (number, logical, string) or a field reference
// The binary operators are searched from the right, outside quotes and parentheses and never at
// the first character, so that operators of one level group from left to right; the text is
// split at the operator and both halves are compiled. Every operand and argument is checked for
// its type, so the evaluator never meets a type it cannot handle.
//
// A failing level answers EXPR_FAIL and usually records a message: the job's error detail (the
// text of error 18) gets its first 100 characters and the debug channel the whole text.
#include <windows.h>

#include <cstdarg>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "Conversions.h"
#include "DebugOutput.h"
#include "ExprFunctions.h"
#include "Expression.h"
#include "FieldAccess.h"
#include "PathHelpers.h"
#include "PrintfFormat.h"
#include "WorkAreas.h"

namespace {

// Levels of nesting a text may have (parentheses, operators, arguments); deeper texts fail like
// any text that cannot be interpreted, instead of exhausting the stack.
const int kMaxDepth = 400;
const size_t kMessageSize = 2048;
const size_t kDetailChars = 100;
const int kNumberChars = 19;
const size_t kAreaPartChars = 10;
const size_t kFunctionNameChars = 20;
const size_t kFieldNameChars = 10;
const size_t kOperatorChars = 5;
const int kIndexKeyWidth = 330;
const int kDatabaseClipperSummer87 = 3;

// A message was recorded during the compile that is running.
bool s_recorded = false;

struct Operator {
    const char* text;
    int32_t code;
};

const Operator kLogical[] = {
    {" AND ", EXPR_AND}, {" OR ", EXPR_OR}, {" XOR ", EXPR_XOR},
    {".AND.", EXPR_AND}, {".OR.", EXPR_OR}, {".XOR.", EXPR_XOR},
};

// Tried in this order at the operator's position; the first that matches wins.
const Operator kComparison[] = {
    {">=", EXPR_GE}, {"=", EXPR_EQ}, {"<=", EXPR_LE}, {"<>", EXPR_NE}, {"!=", EXPR_NE},
    {"~=", EXPR_SOUNDS_LIKE}, {"#", EXPR_NE}, {"<", EXPR_LT}, {">", EXPR_GT},
};

const char kComparisonChars[] = "=<>!#~";
const char kAcute = (char)0xB4;

bool IsQuote(char c) { return c == '"' || c == '\'' || c == kAcute; }
bool IsComparisonChar(char c) { return c && std::strchr(kComparisonChars, c); }

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? (char)(c - 'A' + 'a') : c; }

// The text at pos begins with word (ASCII letters in any case).
bool StartsWithNoCase(const std::string& text, size_t pos, const char* word)
{
    const size_t n = std::strlen(word);
    if (pos + n > text.size())
        return false;
    for (size_t i = 0; i < n; ++i)
        if (AsciiLower(text[pos + i]) != AsciiLower(word[i]))
            return false;
    return true;
}

std::string Trimmed(const std::string& text)
{
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return std::string();
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// Walks a text from its last character towards its first and yields the positions that lie
// outside quoted stretches and outside parentheses. A quote character opens a stretch that only
// the same character closes; ')' and '(' themselves and the quote characters are never yielded.
class RightScan {
public:
    explicit RightScan(const std::string& text) : m_text(text), m_pos((long)text.size()) {}
    // The next position to the left, or -1 at the start of the text.
    long Next()
    {
        while (--m_pos >= 0) {
            const char c = m_text[(size_t)m_pos];
            if (m_quote) {
                if (c == m_quote)
                    m_quote = 0;
            } else if (IsQuote(c))
                m_quote = c;
            else if (c == ')')
                --m_depth;
            else if (c == '(')
                ++m_depth;
            else if (m_depth == 0)
                return m_pos;
        }
        return -1;
    }
    // Continues the walk to the left of pos (the characters from pos on are plain characters).
    void ContinueLeftOf(long pos) { m_pos = pos; }

private:
    const std::string& m_text;
    long m_pos;
    char m_quote = 0;
    int m_depth = 0;
};

void Record(const char* format, ...)
{
    char message[kMessageSize];
    va_list ap;
    va_start(ap, format);
    VFormat(message, sizeof message, format, ap);
    va_end(ap);
    if (s_Job* job = g_ExprState.job)
        SafeStrCopy(job->errorDetail, message, kDetailChars + 1);
    DebugPrintf("error '%s'\n", message);
    s_recorded = true;
}

s_ExprNode* NewNode(int32_t kind)
{
    s_ExprNode* node = new (std::nothrow) s_ExprNode{};
    if (!node) {
        _db_raise_error(DBE_MEMORY);
        return nullptr;
    }
    node->kind = kind;
    return node;
}

void CopyName(char* dest, const std::string& text, size_t chars)
{
    const size_t n = text.size() < chars ? text.size() : chars;
    std::memcpy(dest, text.data(), n);
    dest[n] = 0;
}

uint8_t Parse(s_ExprNode** out, const std::string& text, int depth);

// ---- 1. logical operators -------------------------------------------------------------------------

uint8_t ParseLogical(s_ExprNode** out, const std::string& t, int depth, bool* found)
{
    RightScan scan(t);
    for (long i; (i = scan.Next()) > 0;) {
        if (t[(size_t)i] != ' ' && t[(size_t)i] != '.')
            continue;
        for (const Operator& op : kLogical) {
            if (!StartsWithNoCase(t, (size_t)i, op.text))
                continue;
            *found = true;
            s_ExprNode* node = *out = NewNode(EXPR_COMPARE);
            if (!node)
                return EXPR_FAIL;
            const size_t length = std::strlen(op.text);
            CopyName(node->name, t.substr((size_t)i, length), kOperatorChars);
            node->code = op.code;
            node->type = EXPR_LOGICAL;
            const uint8_t left = Parse(&node->args[0], t.substr(0, (size_t)i), depth);
            if (left == EXPR_FAIL)
                return EXPR_FAIL;
            if (left != EXPR_LOGICAL) {
                Record("arg error: left side of '%s' has bad type (expected [%s])", node->name, _expr_type_name(EXPR_LOGICAL));
                return EXPR_FAIL;
            }
            const uint8_t right = Parse(&node->args[1], t.substr((size_t)i + length), depth);
            if (right == EXPR_FAIL)
                return EXPR_FAIL;
            if (right != EXPR_LOGICAL) {
                Record("arg error: right side of '%s' has bad type (expected [%s])", node->name, _expr_type_name(EXPR_LOGICAL));
                return EXPR_FAIL;
            }
            return EXPR_LOGICAL;
        }
    }
    return 0;
}

// ---- 2. NOT ---------------------------------------------------------------------------------------

uint8_t ParseNot(s_ExprNode** out, const std::string& t, int depth, bool* found)
{
    size_t length;
    if (StartsWithNoCase(t, 0, "NOT "))
        length = 4;
    else if (StartsWithNoCase(t, 0, ".NOT."))
        length = 5;
    else
        return 0;
    *found = true;
    s_ExprNode* node = *out = NewNode(EXPR_NOT);
    if (!node)
        return EXPR_FAIL;
    node->type = EXPR_LOGICAL;
    const uint8_t operand = Parse(&node->args[0], t.substr(length), depth);
    if (operand == EXPR_FAIL)
        return EXPR_FAIL;
    if (operand != EXPR_LOGICAL) {
        Record("arg error: right side of NOT has bad type (expected [%s])", _expr_type_name(EXPR_LOGICAL));
        return EXPR_FAIL;
    }
    return EXPR_LOGICAL;
}

// ---- 3. comparisons -------------------------------------------------------------------------------

uint8_t ParseComparison(s_ExprNode** out, const std::string& t, int depth, bool* found)
{
    RightScan scan(t);
    for (long i; (i = scan.Next()) >= 0;) {
        if (!IsComparisonChar(t[(size_t)i]))
            continue;
        // The operator begins at the first character of the run of operator characters.
        long p = i;
        while (p > 0 && IsComparisonChar(t[(size_t)p - 1]))
            --p;
        scan.ContinueLeftOf(p);
        if (p == 0)
            continue;
        for (const Operator& op : kComparison) {
            if (t.compare((size_t)p, std::strlen(op.text), op.text) != 0)
                continue;
            *found = true;
            s_ExprNode* node = *out = NewNode(EXPR_COMPARE);
            if (!node)
                return EXPR_FAIL;
            const size_t length = std::strlen(op.text);
            CopyName(node->name, op.text, kOperatorChars);
            node->code = op.code;
            node->type = EXPR_LOGICAL;
            const uint8_t left = Parse(&node->args[0], t.substr(0, (size_t)p), depth);
            if (left == EXPR_FAIL)
                return EXPR_FAIL;
            const uint8_t right = Parse(&node->args[1], t.substr((size_t)p + length), depth);
            if (right == EXPR_FAIL)
                return EXPR_FAIL;
            if (right != left) {
                Record("arg error: right side of '%s' has bad type (expected [%s])", node->name, _expr_type_name(left));
                return EXPR_FAIL;
            }
            return EXPR_LOGICAL;
        }
    }
    return 0;
}

// ---- 4. arithmetic --------------------------------------------------------------------------------

long FindRightMost(const std::string& t, const char* chars)
{
    RightScan scan(t);
    for (long i; (i = scan.Next()) > 0;)
        if (std::strchr(chars, t[(size_t)i]))
            return i;
    return -1;
}

uint8_t ParseArithmetic(s_ExprNode** out, const std::string& t, int depth, bool* found)
{
    long pos = FindRightMost(t, "+-");
    if (pos < 0)
        pos = FindRightMost(t, "*/");
    if (pos < 0)
        pos = FindRightMost(t, "$");
    if (pos < 0)
        return 0;
    *found = true;
    s_ExprNode* node = *out = NewNode(EXPR_ARITHMETIC);
    if (!node)
        return EXPR_FAIL;
    const char op = t[(size_t)pos];
    node->op = op;
    const uint8_t left = Parse(&node->args[0], t.substr(0, (size_t)pos), depth);
    if (left == EXPR_FAIL)
        return EXPR_FAIL;
    unsigned allowedLeft = EXPR_ANY;
    if (op == '-' || op == '*' || op == '/')
        allowedLeft = EXPR_NUMBER | EXPR_DATE;
    else if (op == '$')
        allowedLeft = EXPR_STRING;
    if (!(left & allowedLeft)) {
        Record("arg error: left side of '%c' has bad type (expected [%s])", op, _expr_type_name(allowedLeft));
        return EXPR_FAIL;
    }
    const uint8_t right = Parse(&node->args[1], t.substr((size_t)pos + 1), depth);
    if (right == EXPR_FAIL)
        return EXPR_FAIL;
    const unsigned allowedRight = left == EXPR_DATE ? (unsigned)(EXPR_DATE | EXPR_NUMBER) : (unsigned)left;
    if (!(right & allowedRight)) {
        Record("arg error: right side of '%c' has bad type (expected [%s])", op, _expr_type_name(allowedRight));
        return EXPR_FAIL;
    }
    node->type = op == '$' ? (uint8_t)EXPR_LOGICAL : left;
    return node->type;
}

// ---- 5. sign --------------------------------------------------------------------------------------

uint8_t ParseSign(s_ExprNode** out, const std::string& t, int depth, bool* found)
{
    if (t[0] != '+' && t[0] != '-')
        return 0;
    *found = true;
    uint8_t type;
    if (t[0] == '+')
        type = Parse(out, t.substr(1), depth);
    else {
        s_ExprNode* node = *out = NewNode(EXPR_NEGATE);
        if (!node)
            return EXPR_FAIL;
        type = node->type = Parse(&node->args[0], t.substr(1), depth);
    }
    if (type == EXPR_FAIL)
        return EXPR_FAIL;
    if (type != EXPR_NUMBER) {
        Record("arg error: sign operator expected [number] type");
        return EXPR_FAIL;
    }
    return EXPR_NUMBER;
}

// ---- 6. function calls and parentheses ------------------------------------------------------------

int FunctionRow(const std::string& name)
{
    for (int row = 0; g_ExprFunctions[row].name[0]; ++row)
        if (name.size() == std::strlen(g_ExprFunctions[row].name) && StartsWithNoCase(name, 0, g_ExprFunctions[row].name))
            return row;
    return -1;
}

// Splits the argument text at the commas outside quotes and parentheses; FALSE on unbalanced
// parentheses or quotes.
bool SplitArguments(const std::string& text, std::vector<std::string>& args)
{
    if (text.find_first_not_of(' ') == std::string::npos)
        return true;
    char quote = 0;
    int depth = 0;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quote) {
            if (c == quote)
                quote = 0;
        } else if (IsQuote(c))
            quote = c;
        else if (c == '(')
            ++depth;
        else if (c == ')') {
            if (--depth < 0)
                return false;
        } else if (c == ',' && depth == 0) {
            args.push_back(text.substr(start, i - start));
            start = i + 1;
        }
    }
    if (depth > 0 || quote)
        return false;
    args.push_back(text.substr(start));
    return true;
}

uint8_t ParseCall(s_ExprNode** out, const std::string& t, int depth, bool* found)
{
    const size_t paren = t.find('(');
    if (paren == std::string::npos)
        return 0;
    std::string name = t.substr(0, paren);
    const size_t end = name.find_last_not_of(' ');
    name.resize(end == std::string::npos ? 0 : end + 1);
    if (name.size() > kFunctionNameChars)
        name.resize(kFunctionNameChars);
    const int row = FunctionRow(name);
    if (row < 0 && !(name.empty() && t.back() == ')'))
        return 0;
    *found = true;

    // The argument text: behind the '(' without leading blanks and without its last character
    // (the closing parenthesis, whatever character stands there).
    size_t first = paren + 1;
    while (first < t.size() && t[first] == ' ')
        ++first;
    std::string argText = first < t.size() ? t.substr(first, t.size() - first - 1) : std::string();

    s_ExprNode* node = *out = NewNode(EXPR_CALL);
    if (!node)
        return EXPR_FAIL;
    CopyName(node->name, name, kFunctionNameChars);
    node->code = row;

    if (row < 0) {
        node->count = 1;
        const uint8_t inner = Parse(&node->args[0], argText, depth);
        if (inner == EXPR_FAIL) {
            Record("argument error: unexpected empty argument");
            return EXPR_FAIL;
        }
        return node->type = inner;
    }

    const s_ExprFunction& f = g_ExprFunctions[row];
    std::vector<std::string> args;
    if (!SplitArguments(argText, args)) {
        Record("syntax error in function %s at '%s'", f.name, t.c_str());
        return EXPR_FAIL;
    }
    uint8_t types[EXPR_MAX_ARGS] = {};
    for (size_t i = 0; i < args.size(); ++i) {
        // Arguments beyond the slots of a node are compiled and dropped: the count check below
        // rejects such a call.
        s_ExprNode* extra = nullptr;
        s_ExprNode** slot = i < (size_t)EXPR_MAX_ARGS ? &node->args[i] : &extra;
        const uint8_t type = Parse(slot, args[i], depth);
        _expr_free_node(extra);
        if (type == EXPR_FAIL)
            return EXPR_FAIL;
        if (i < (size_t)EXPR_MAX_ARGS)
            types[i] = type;
        if (i >= (size_t)f.maxArgs)
            continue;
        const uint8_t set = f.argTypes[i];
        if (set == EXPR_SAME) {
            if (i > 0 && type != types[i - 1]) {
                Record("arg error: bad arg type in '%s' (expected [%s], was [%s])", f.name, _expr_type_name(types[i - 1]),
                       _expr_type_name(type));
                return EXPR_FAIL;
            }
        } else if (!(set & type)) {
            Record("arg error: bad arg type in '%s' (expected [%s], was [%s])", f.name, _expr_type_name(set),
                   _expr_type_name(type));
            return EXPR_FAIL;
        }
    }
    const int count = (int)args.size();
    if (count < f.minArgs || count > f.maxArgs) {
        if (f.minArgs == f.maxArgs)
            Record("wrong number of args in function %s (expected %d, was %d)", node->name, f.minArgs, count);
        else
            Record("wrong number of args in function %s (expected %d to %d, was %d)", node->name, f.minArgs, f.maxArgs,
                   count);
        return EXPR_FAIL;
    }
    node->count = count;
    node->type = f.result >= EXPR_ARG_TYPE ? types[f.result - EXPR_ARG_TYPE - 1] : f.result;
    return node->type;
}

// ---- 7. constants and fields ----------------------------------------------------------------------

uint8_t ParseNumber(s_ExprNode** out, const std::string& t)
{
    s_ExprNode* node = *out = NewNode(EXPR_NUMBER_CONST);
    if (!node)
        return EXPR_FAIL;
    node->type = EXPR_NUMBER;
    node->number = _text_to_number(t.c_str(), kNumberChars);
    const size_t dot = t.find('.');
    node->decimals = dot == std::string::npos ? 0 : (int32_t)(t.size() - dot - 1);
    node->width = 10;
    if (node->decimals) {
        node->width += node->decimals + 1;
        const s_Area* area = g_ExprState.area;
        if (area && area->databaseType == kDatabaseClipperSummer87)
            node->width += node->decimals + 1;
    }
    return EXPR_NUMBER;
}

uint8_t ParseString(s_ExprNode** out, const std::string& t)
{
    s_ExprNode* node = *out = NewNode(EXPR_STRING_CONST);
    if (!node)
        return EXPR_FAIL;
    const std::string inner = t.size() >= 2 ? t.substr(1, t.size() - 2) : std::string();
    CopyName(node->text, inner, EXPR_MAX_CONSTANT);
    node->width = (int32_t)t.size();
    return EXPR_STRING;
}

// "#" and decimal digits: the number; else -1.
long HashNumber(const std::string& text)
{
    if (text.size() < 2 || text[0] != '#')
        return -1;
    long n = 0;
    for (size_t i = 1; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9')
            return -1;
        if (n < 100000)
            n = n * 10 + (text[i] - '0');
    }
    return n;
}

// A field of the compile-time current area, or of an area named before a '.'; 0 when the term
// names no field. *failed is set when it names an area that does not exist (error 6 raised).
uint8_t ParseField(s_ExprNode** out, const std::string& t, bool* failed)
{
    s_Job* job = g_ExprState.job;
    const s_Area* area = g_ExprState.area;
    int areaNumber = 0;
    std::string fieldPart = t;
    const size_t dot = t.find('.');
    if (dot != std::string::npos && dot <= kAreaPartChars) {
        const std::string part = t.substr(0, dot);
        const long hash = HashNumber(part);
        if (hash >= 0) {
            areaNumber = hash >= 1 && hash <= DB_AREA_COUNT ? (int)hash : 0;
            if (!areaNumber)
                _db_raise_error(DBE_NO_ALIAS);
        } else
            areaNumber = job ? _db_area_by_designator(job, part.c_str()) : 0;
        if (!areaNumber) {
            *failed = true;
            return EXPR_FAIL;
        }
        area = job->areas[areaNumber - 1];
        fieldPart = t.substr(dot + 1);
    }
    if (!area)
        return 0;
    const int n = _db_field_number(*area, fieldPart.c_str());
    if (n == 0)
        return 0;
    s_ExprNode* node = *out = NewNode(EXPR_FIELD);
    if (!node)
        return EXPR_FAIL;
    CopyName(node->name, fieldPart, kFieldNameChars);
    node->area = areaNumber;
    node->field = n;
    if (n == DB_FIELD_INDEXKEY) {
        node->letter = 'C';
        node->width = kIndexKeyWidth;
    } else {
        const s_Field& d = area->fields[n - 1];
        node->letter = d.type;
        node->width = d.length;
        node->decimals = d.decimals;
    }
    switch (node->letter) {
    case 'D': node->type = EXPR_DATE; node->decimals = 0; break;
    case 'L': node->type = EXPR_LOGICAL; node->decimals = 0; break;
    case 'N': node->type = EXPR_NUMBER; break;
    default: node->type = EXPR_STRING; node->decimals = 0; break;
    }
    return node->type;
}

uint8_t Parse(s_ExprNode** out, const std::string& text, int depth)
{
    *out = nullptr;
    if (depth >= kMaxDepth)
        return EXPR_FAIL;
    ++depth;
    const std::string t = Trimmed(text);
    if (t.empty())
        return EXPR_FAIL;

    using Step = uint8_t (*)(s_ExprNode**, const std::string&, int, bool*);
    for (Step step : {ParseLogical, ParseNot, ParseComparison, ParseArithmetic, ParseSign, ParseCall}) {
        bool found = false;
        const uint8_t type = step(out, t, depth, &found);
        if (found)
            return type;
    }

    if (std::strchr("+-0123456789", t[0]))
        return ParseNumber(out, t);
    if (t.size() >= 3 && t[0] == '.' && t[2] == '.') {
        if (std::strchr("TYJtyj", t[1])) {
            if (!(*out = NewNode(EXPR_LOGICAL_CONST)))
                return EXPR_FAIL;
            (*out)->logical = 1;
            return EXPR_LOGICAL;
        }
        if (std::strchr("FNfn", t[1])) {
            if (!(*out = NewNode(EXPR_LOGICAL_CONST)))
                return EXPR_FAIL;
            return EXPR_LOGICAL;
        }
    }
    if (t.size() > 1 && IsQuote(t[0]) && t.back() == t[0])
        return ParseString(out, t);
    bool failed = false;
    if (const uint8_t type = ParseField(out, t, &failed))
        return type;
    if (failed)
        return EXPR_FAIL;
    if (t.size() == 1 && IsQuote(t[0]))
        return ParseString(out, std::string());
    Record("error: uninterpretable term: '%s'", t.c_str());
    return EXPR_FAIL;
}

} // namespace

const char* _expr_type_name(unsigned typeSet)
{
    switch (typeSet) {
    case 0: return "???";
    case EXPR_NUMBER: return "double";
    case EXPR_DATE:
    case EXPR_DATE | EXPR_NUMBER: return "date";
    case EXPR_STRING: return "string";
    case EXPR_LOGICAL: return "bool";
    case 16: return "don't care";
    default: return "?";
    }
}

uint8_t _expr_parse(s_ExprNode** out, const char* text, int depth) { return Parse(out, text ? text : "", depth); }

s_Expression* _expr_compile(const char* text)
{
    s_Job* job = g_Job;
    if (!job)
        return nullptr;
    g_ExprState.job = job;
    g_ExprState.area = job->currentArea;
    job->errorDetail[0] = 0;
    s_recorded = false;
    const std::string copy = text ? text : "";
    s_ExprNode* root = nullptr;
    const uint8_t type = Parse(&root, copy, 0);
    if (type == EXPR_FAIL) {
        if (job->currentError == 0) {
            if (!s_recorded)
                Record("error: uninterpretable term: '%s'", copy.c_str());
            _db_raise_error(DBE_EXPRESSION);
        }
        _expr_free_node(root);
        return nullptr;
    }
    s_Expression* expression = new (std::nothrow) s_Expression{root, type};
    if (!expression) {
        _db_raise_error(DBE_MEMORY);
        _expr_free_node(root);
    }
    return expression;
}

void _expr_free_node(s_ExprNode* node)
{
    if (!node)
        return;
    if (node->kind <= EXPR_CALL)
        for (s_ExprNode* child : node->args)
            _expr_free_node(child);
    delete node;
}

void _expr_free(s_Expression* expression)
{
    if (!expression)
        return;
    _expr_free_node(expression->root);
    _expr_free_spare(expression);
    delete expression;
}
