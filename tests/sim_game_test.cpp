// The game as a value: copies play on alone, and a state is compared, hashed, written to bytes
// and read back exactly; damaged bytes are refused.
#include <gtest/gtest.h>

#include <string>

#include "sim/contact.h"
#include "sim/game.h"

namespace {
Game afterTheBreak() {
    Game game;
    SilentContacts silent;
    game.strike(0.0, 100.0);
    game.playShot(1.0 / 60.0, silent, 100000);
    return game;
}
} // namespace

TEST(GameValue, ACopyPlaysOnAloneAndTheBytesGiveTheSameGameBack) {
    const Game start;
    Game played = start;
    SilentContacts silent;
    played.strike(0.0, 100.0);
    played.playShot(1.0 / 60.0, silent, 100000);
    EXPECT_EQ(start, Game()) << "the copy played, the original stands racked";
    EXPECT_NE(played, start);
    EXPECT_EQ(played.referee.tableState, TableState::OpenTable);
    EXPECT_EQ(played, afterTheBreak()) << "the same shot gives the same game";
    EXPECT_EQ(played.hash(), afterTheBreak().hash());

    for (const Game& game : {start, played}) {
        Game read;
        ASSERT_TRUE(Game::fromBytes(game.toBytes(), read));
        EXPECT_EQ(read, game);
        EXPECT_EQ(read.toBytes(), game.toBytes());
    }
    Game back = played;
    back = start; // a plain assignment puts a saved game back exactly
    EXPECT_EQ(back, start);
}

// Bytes cut short or too long, of another layout, or holding a value no game can hold are
// refused, and the game they were read into keeps its state.
TEST(GameValue, DamagedBytesAreRefused) {
    const Game game = afterTheBreak();
    const std::string bytes = game.toBytes();
    const auto setWord = [&](std::size_t word, std::uint64_t value) {
        std::string damaged = bytes;
        for (int i = 0; i < 8; ++i) damaged[8 + 8 * word + i] = char((value >> (8 * i)) & 0xff);
        return damaged;
    };
    const std::uint64_t NAN_BITS = 0x7ff8000000000000ull;
    const std::string cases[] = {
        bytes.substr(0, bytes.size() - 1),
        bytes + '\0',
        "",
        "poolgam2" + bytes.substr(8),
        setWord(0, 16),       // a ball number beyond the rack
        setWord(1, NAN_BITS), // a radius that is not a number
        setWord(3, 2),        // pocketed neither 0 nor 1
        setWord(4, NAN_BITS), // a position that is not a number
    };
    for (const std::string& damaged : cases) {
        Game read = game;
        EXPECT_FALSE(Game::fromBytes(damaged, read)) << damaged.size();
        EXPECT_EQ(read, game);
    }
}
