// The bounded reader of the runtime's plain-text lists. Needs no GL, images or
// fonts, so tests and fuzzers use it on its own.
#pragma once

#include <cstdio>
#include <string>

// Reads the whitespace-separated lists the way scanf would, but stores at most
// kMaxStoredToken characters of a token, so no input can overflow anything.
class ListReader {
  public:
    static constexpr size_t kMaxStoredToken = 4096;

    explicit ListReader(const char* path);
    // Reads an already open stream (for example fmemopen'ed memory) and
    // closes it when done; null reads as a list that could not be opened.
    explicit ListReader(FILE* stream);
    ~ListReader();
    ListReader(const ListReader&) = delete;
    ListReader& operator=(const ListReader&) = delete;

    bool IsOpen() const { return file != nullptr; }
    void SkipSpace();
    // " %s": the next run of non-blank characters; false at end of file.
    bool ReadToken(std::string& token);
    // " %ld": false (and nothing stored) when no number follows.
    bool ReadLong(long& value);
    // "%c": the next character, blank or not; false at end of file.
    bool ReadChar(int& c);

  private:
    FILE* file;
};

// Raises the error for a list entry whose path does not fit a name field.
void CheckPathLength(const std::string& path, const char* listName);
