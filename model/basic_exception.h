// BasicException: the one exception type of the system. Thrown by value and caught
// by reference on both sides of the plug-in boundary, so it stays a plain class
// defined only here: every shared object sees the same type by name.
#pragma once

#include <cstdarg>
#include <cstdio>
#include <cstring>

class BasicException {
  public:
    static const int kMessageSize = 512;

    BasicException() { message[0] = 0; }
    explicit BasicException(const char* text) { SetMessage(text); }

    // printf-style constructor; the result is cut to 511 characters.
    __attribute__((format(printf, 1, 2))) static BasicException Format(const char* format, ...) {
        BasicException e;
        va_list args;
        va_start(args, format);
        vsnprintf(e.message, sizeof e.message, format, args);
        va_end(args);
        return e;
    }

    void SetMessage(const char* text) {
        if (!text) text = "";
        strncpy(message, text, kMessageSize - 1);
        message[kMessageSize - 1] = 0;
    }
    const char* GetMessage() const { return message; }

    char message[kMessageSize];
};
