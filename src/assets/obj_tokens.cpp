// Token reading for the OBJ and MTL readers.
#include "assets/obj_tokens.h"

#include <cstdlib>
#include <cstring>

namespace {
// The characters that separate tokens.
const char BLANKS[] = " \t\n\v\f\r";
bool isBlank(char c) { return c != '\0' && std::strchr(BLANKS, c) != nullptr; }
} // namespace

bool TokenReader::refill() {
    next_ = block_;
    end_ = block_ + std::fread(block_, 1, sizeof block_ - 1, file_);
    return next_ != end_;
}

// The scans are the C library's, which need no bounds test per character: the NUL put after
// the block stops them there.
void TokenReader::skipBlanks() {
    *end_ = '\0';
    next_ += std::strspn(next_, BLANKS);
}

void TokenReader::skipWord() {
    *end_ = '\0';
    next_ += std::strcspn(next_, BLANKS);
    // A NUL byte stops the scan too, but inside the block it belongs to the word.
    while (next_ != end_ && *next_ == '\0') {
        ++next_;
        next_ += std::strcspn(next_, BLANKS);
    }
}

char* TokenReader::lineEndInBlock() const {
    void* lineBreak = std::memchr(next_, '\n', size_t(end_ - next_));
    return lineBreak == nullptr ? end_ : static_cast<char*>(lineBreak);
}

bool TokenReader::next(std::string& token) {
    if (tooLong_) return false;
    if (hasPending_) {
        hasPending_ = false;
        token.swap(pending_);
        return true;
    }
    token.clear();
    do skipBlanks();
    while (next_ == end_ && refill());
    // A token may run on from one block into the next.
    do {
        const char* start = next_;
        skipWord();
        const size_t length = size_t(next_ - start);
        if (length > OBJ_WORD_LIMIT - token.size()) {
            tooLong_ = true;
            return false;
        }
        token.append(start, length);
    } while (next_ == end_ && refill());
    // The delimiter stays unread so that skipping "the rest of the line" after a token at the
    // end of a line does not eat the next line.
    return !token.empty();
}

void TokenReader::pushBack(const std::string& token) {
    pending_ = token;
    hasPending_ = true;
}

void TokenReader::skipLine() {
    for (;;) {
        char* stop = lineEndInBlock();
        if (stop != end_) {
            next_ = stop + 1;
            return;
        }
        if (!refill()) return;
    }
}

bool TokenReader::restOfLine(std::string& line) {
    line.clear();
    if (tooLong_) return false;
    for (;;) {
        char* stop = lineEndInBlock();
        const size_t length = size_t(stop - next_);
        if (length > OBJ_WORD_LIMIT - line.size()) {
            tooLong_ = true;
            return false;
        }
        line.append(next_, length);
        next_ = stop;
        if (stop != end_) {
            ++next_; // the line break
            break;
        }
        if (!refill()) break;
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
    next_ = end_ = block_;
    hasPending_ = false;
}

std::string nameFromLine(const std::string& line) {
    std::string words[2];
    size_t count = 0;
    size_t i = 0;
    while (count < 2) {
        while (i < line.size() && isBlank(line[i])) ++i;
        if (i == line.size()) break;
        const size_t start = i;
        while (i < line.size() && !isBlank(line[i])) ++i;
        words[count++] = line.substr(start, i - start);
    }
    return count == 2 ? words[1] : words[0];
}
