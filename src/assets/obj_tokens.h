// Whitespace-delimited tokens and rest-of-line reads over a text file, with the size limits
// of the OBJ and MTL readers.
#pragma once

#include <cstdio>
#include <string>

// Longest word or rest of line the readers accept; anything longer is an error, not cut.
constexpr size_t OBJ_WORD_LIMIT = 127;

// Reads the file in blocks of its own rather than a character at a time: lines are skipped
// and tokens taken whole from the block.
class TokenReader {
public:
    explicit TokenReader(std::FILE* file) : file_(file) {}
    TokenReader(const TokenReader&) = delete;
    TokenReader& operator=(const TokenReader&) = delete;

    // Next token; false at the end of the file or when the token is too long (see tooLong()).
    bool next(std::string& token);
    // Hands a token back so the next call of next() returns it again.
    void pushBack(const std::string& token);
    // Discards everything up to and including the next line break.
    void skipLine();
    // The rest of the current line without its line break (CR LF or LF); false when too long.
    bool restOfLine(std::string& line);
    // A following token that is a number in full; otherwise the token stays unread.
    bool nextFloat(float& value);
    void rewind();
    bool tooLong() const { return tooLong_; }

private:
    // The unread part of the block is [next_, end_); refill() reads the following block.
    bool refill();
    // Move next_ past blanks, or past everything else, up to end_ at most.
    void skipBlanks();
    void skipWord();
    // The line break in [next_, end_), or end_ when the line goes on past the block.
    char* lineEndInBlock() const;

    std::FILE* file_;
    char block_[BUFSIZ + 1]; // and the NUL after the block that ends a scan there
    char* next_ = block_;
    char* end_ = block_;
    std::string pending_;
    bool hasPending_ = false;
    bool tooLong_ = false;
};

// The first whitespace-delimited word of a line, or its second when it has more than one.
std::string nameFromLine(const std::string& line);
