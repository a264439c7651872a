// The shot loop: every ball advanced through a frame, one contact or stop at a time.
#include "sim/simulation.h"

#include "sim/ball.h"
#include "sim/table.h"

Ball* balls[BALL_COUNT] = {};

namespace {
enum EventKind { NO_EVENT, TABLE_EVENT, BALL_EVENT, STOP_EVENT };

struct Event {
    EventKind kind = NO_EVENT;
    double time = 0.0; // seconds from now
    int ball = -1;     // the lower index of a pair
    int other = -1;    // the other ball, or the table feature
};

// Strict comparisons: among simultaneous contacts the lower ball index wins, and for one ball
// its table contact comes before its ball contacts.
Event earliestContact(double dt) {
    Event event;
    event.time = dt;
    for (int i = 0; i < BALL_COUNT; ++i) {
        int feature = -1;
        const double t = table->timeToHit(*balls[i], feature);
        if (t >= 0.0 && t < event.time) event = {TABLE_EVENT, t, i, feature};
        for (int j = i + 1; j < BALL_COUNT; ++j) {
            const double tb = balls[i]->timeToHit(*balls[j]);
            if (tb >= 0.0 && tb < event.time) event = {BALL_EVENT, tb, i, j};
        }
    }
    return event;
}

// Seconds until the ball comes to rest under its deceleration, or -1 when it is not slowing down.
double stoppingTime(const Ball& ball) {
    const double deceleration = ball.acceleration.length();
    if (ball.pocketed || deceleration == 0.0 || ball.velocity.dot(ball.acceleration) > 0.0)
        return -1.0;
    return ball.velocity.length() / deceleration;
}

// A ball that comes to rest before the contact must rest at its turning point: advancing it
// past that point would put it back on the parabola, behind where it stopped. A ball struck at
// power 0 has no speed but still its deceleration, and stops at once.
void takeEarlierStop(Event& event) {
    for (int i = 0; i < BALL_COUNT; ++i) {
        const double t = stoppingTime(*balls[i]);
        if (t >= 0.0 && t < event.time) event = {STOP_EVENT, t, i, -1};
    }
}

// A ball wedged between balls it touches can trade pushes with them for ever while next to no
// time passes, each push sending it into the other neighbour. A ball in JAM_CONTACTS contacts
// within one frame (free play stays far below that) is jammed and put at rest.
constexpr int JAM_CONTACTS = 1000;

void countContact(int counts[BALL_COUNT], int ball) {
    if (++counts[ball] % JAM_CONTACTS == 0) balls[ball]->stop();
}

void resolveContact(const Event& event, int contactCounts[BALL_COUNT]) {
    if (event.kind == TABLE_EVENT) {
        table->collide(*balls[event.ball], event.other);
    } else {
        balls[event.ball]->collideWith(*balls[event.other]);
        countContact(contactCounts, event.other);
    }
    countContact(contactCounts, event.ball);
}
} // namespace

int simulate(double dt) {
    int contacts = 0;
    int contactCounts[BALL_COUNT] = {};
    while (dt > 0.0) {
        Event event = earliestContact(dt);
        takeEarlierStop(event);
        for (Ball* ball : balls) ball->advance(event.time);
        if (event.kind == NO_EVENT) break;
        if (event.kind == STOP_EVENT) {
            balls[event.ball]->stop();
        } else {
            resolveContact(event, contactCounts);
            ++contacts;
        }
        dt -= event.time;
    }
    return contacts;
}

bool allBallsAtRest() {
    for (const Ball* ball : balls)
        if (ball->velocity.length() > 0.0) return false;
    return true;
}
