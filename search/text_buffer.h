// A bounded code page 1251 text that lines are built in. Appending past the end cuts silently:
// every line is cut again, to its own limit, when it is converted for display.
#pragma once

#include <cstddef>
#include <cstring>

class TextBuffer {
public:
    static constexpr size_t capacity = 1024;

    void append(const char* s) {
        if (s) append(s, std::strlen(s));
    }
    void append(const char* s, size_t n) {
        if (n > capacity - 1 - length_) n = capacity - 1 - length_;
        std::memcpy(data_ + length_, s, n);
        length_ += n;
        data_[length_] = 0;
    }
    const char* text() const { return data_; }
    size_t length() const { return length_; }

private:
    char data_[capacity] = {};
    size_t length_ = 0;
};
