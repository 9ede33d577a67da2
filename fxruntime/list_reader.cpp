// Bounded reading of the runtime's plain-text lists (ImageList.txt, AnimList.txt,
// BigFont.txt, TextList.txt): tokens of any length, numbers that saturate
// instead of overflowing.
#include "list_reader.h"

#include "basic_exception.h"
#include "fxruntime.h"

#include <cctype>
#include <climits>

ListReader::ListReader(const char* path) : file(fopen(path, "r")) {}

ListReader::ListReader(FILE* stream) : file(stream) {}

ListReader::~ListReader() {
    if (file) fclose(file);
}

void ListReader::SkipSpace() {
    if (!file) return;
    int c;
    while ((c = getc(file)) != EOF && isspace(c)) {
    }
    if (c != EOF) ungetc(c, file);
}

bool ListReader::ReadToken(std::string& token) {
    token.clear();
    if (!file) return false;
    SkipSpace();
    int c;
    bool any = false;
    while ((c = getc(file)) != EOF && !isspace(c)) {
        any = true;
        // The rest of an over-long token is consumed but not kept; callers see
        // its length is beyond any name field and reject it.
        if (token.size() < kMaxStoredToken) token.push_back((char)c);
    }
    if (c != EOF) ungetc(c, file);
    return any;
}

bool ListReader::ReadLong(long& value) {
    if (!file) return false;
    SkipSpace();
    int c = getc(file);
    bool negative = false;
    if (c == '+' || c == '-') {
        negative = c == '-';
        c = getc(file);
    }
    if (c == EOF || !isdigit(c)) {
        if (c != EOF) ungetc(c, file);
        return false;
    }
    long result = 0;
    for (; c != EOF && isdigit(c); c = getc(file)) {
        int digit = c - '0';
        if (!negative)
            result = result > (LONG_MAX - digit) / 10 ? LONG_MAX : result * 10 + digit;
        else
            result = result < (LONG_MIN + digit) / 10 ? LONG_MIN : result * 10 - digit;
    }
    if (c != EOF) ungetc(c, file);
    value = result;
    return true;
}

bool ListReader::ReadChar(int& c) {
    if (!file) return false;
    c = getc(file);
    return c != EOF;
}

void CheckPathLength(const std::string& path, const char* listName) {
    if (path.size() > (size_t)kMaxPathLength)
        throw BasicException::Format("%s: a path is longer than %d characters: %.60s...", listName,
                                     kMaxPathLength, path.c_str());
}
