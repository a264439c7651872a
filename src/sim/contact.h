// Contacts as the shot loop reports them, and the hooks that hear them.
#pragma once

enum class ContactKind { Ball, Cushion, Corner, Pocket };

// One contact, reported once it is resolved.
struct Contact {
    int ball;  // number of the ball (0 is the cue ball)
    int other; // number of the other ball, or the index of the table feature
    ContactKind kind;
    double speedBefore; // units/s: how fast the two closed along the contact normal
    double speedAfter;  // units/s: how fast they part along it afterwards (0 into a pocket)
};

// Hears every contact of a shot in the order the shot loop resolves them.
class ContactHook {
public:
    virtual void contact(const Contact& contact) = 0;

protected:
    ~ContactHook() = default;
};

// Hears nothing: for shots played on a copy of a game.
class SilentContacts final : public ContactHook {
public:
    void contact(const Contact&) override {}
};

// Prints one console line per contact ("Ball  0 collided with ball    1") on standard output.
class ConsoleContacts final : public ContactHook {
public:
    void contact(const Contact& contact) override;
    // Hands the lines printed since the last call to standard output, so that a pipe or a file
    // sees them as they happen. Once standard output fails (a reader that went away), nothing
    // more is written to it.
    void endFrame();

private:
    bool pending = false; // lines printed since the last endFrame
    bool failed = false;  // standard output refused a write: print no more
};
