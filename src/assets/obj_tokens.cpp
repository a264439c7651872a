// Token reading for the OBJ and MTL readers.
#include "assets/obj_tokens.h"

#include <cstdlib>

namespace {
// Space, or one of \t \n \v \f \r (which are consecutive codes).
bool isBlank(int c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
// Files are read one character at a time by one thread: the stream lock is not needed.
int nextChar(std::FILE* file) { return getc_unlocked(file); }
} // namespace

bool TokenReader::next(std::string& token) {
    if (tooLong_) return false;
    if (hasPending_) {
        hasPending_ = false;
        token.swap(pending_);
        return true;
    }
    token.clear();
    int c = nextChar(file_);
    while (c != EOF && isBlank(c)) c = nextChar(file_);
    while (c != EOF && !isBlank(c)) {
        if (token.size() == OBJ_WORD_LIMIT) {
            tooLong_ = true;
            return false;
        }
        token.push_back(char(c));
        c = nextChar(file_);
    }
    // The delimiter stays in the stream so that skipping "the rest of the line" after a token
    // at the end of a line does not eat the next line.
    if (c != EOF) std::ungetc(c, file_);
    return !token.empty();
}

void TokenReader::pushBack(const std::string& token) {
    pending_ = token;
    hasPending_ = true;
}

void TokenReader::skipLine() {
    int c = nextChar(file_);
    while (c != EOF && c != '\n') c = nextChar(file_);
}

bool TokenReader::restOfLine(std::string& line) {
    line.clear();
    if (tooLong_) return false;
    int c = nextChar(file_);
    while (c != EOF && c != '\n') {
        if (line.size() == OBJ_WORD_LIMIT) {
            tooLong_ = true;
            return false;
        }
        line.push_back(char(c));
        c = nextChar(file_);
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return true;
}

bool TokenReader::nextFloat(float& value) {
    std::string token;
    if (!next(token)) return false;
    char* end = nullptr;
    const float parsed = std::strtof(token.c_str(), &end);
    if (end == token.c_str() || *end != '\0') {
        pushBack(token);
        return false;
    }
    value = parsed;
    return true;
}

void TokenReader::rewind() {
    std::rewind(file_);
    hasPending_ = false;
}

std::string nameFromLine(const std::string& line) {
    std::string words[2];
    size_t count = 0;
    size_t i = 0;
    while (count < 2) {
        while (i < line.size() && isBlank(static_cast<unsigned char>(line[i]))) ++i;
        if (i == line.size()) break;
        const size_t start = i;
        while (i < line.size() && !isBlank(static_cast<unsigned char>(line[i]))) ++i;
        words[count++] = line.substr(start, i - start);
    }
    return count == 2 ? words[1] : words[0];
}
