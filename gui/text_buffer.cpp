// TextBuffer: the growable byte string behind the edit fields.
#include "gui.h"

#include <cstring>

TextBuffer::TextBuffer(const char* text) {
    if (!text) text = "";
    length = (unsigned)strlen(text);
    capacity = length + 1;
    data = new char[capacity];
    memcpy(data, text, capacity);
}

TextBuffer::TextBuffer(unsigned n) : data(new char[n + 1]), capacity(n + 1), length(0) {
    data[0] = 0;
}

TextBuffer::TextBuffer(const TextBuffer& other)
    : data(new char[other.capacity]), capacity(other.capacity), length(other.length) {
    memcpy(data, other.data, capacity);
}

TextBuffer& TextBuffer::operator=(const TextBuffer& other) {
    if (this == &other) return *this;
    char* copy = new char[other.capacity];
    memcpy(copy, other.data, other.capacity);
    delete[] data;
    data = copy;
    capacity = other.capacity;
    length = other.length;
    return *this;
}

TextBuffer::~TextBuffer() {
    delete[] data;
}

TextBuffer TextBuffer::substring(unsigned start, unsigned count) const {
    if (start > length) start = length;
    if (count > length - start) count = length - start;
    TextBuffer part(count);
    memcpy(part.data, data + start, count);
    part.length = count;
    part.data[count] = 0;
    return part;
}

void TextBuffer::insert(unsigned index, char c) {
    if (index > length) return;
    if (length + 1 >= capacity) {
        unsigned grown = capacity + capacity / 2 + 2;
        char* bigger = new char[grown];
        memcpy(bigger, data, length);
        delete[] data;
        data = bigger;
        capacity = grown;
    }
    memmove(data + index + 1, data + index, length - index);
    data[index] = c;
    length++;
}

void TextBuffer::overwrite(unsigned index, char c) {
    if (index < length)
        data[index] = c;
    else if (index == length)
        insert(index, c);
}

void TextBuffer::erase(unsigned index, unsigned count) {
    if (index >= length) return;
    if (count > length - index) count = length - index;
    memmove(data + index, data + index + count, length - index - count);
    length -= count;
}

const char* TextBuffer::c_str() {
    data[length] = 0;
    return data;
}
