// The shot loop: every ball advanced through a frame, one contact or stop at a time.
#include "sim/simulation.h"

#include "sim/contact.h"
#include "sim/referee.h"
#include "sim/table.h"

#include <cmath>

namespace {
// What a step of the frame runs up to: the frame's end, a contact with the table or another
// ball, or a ball coming to rest.
enum class EventKind { None, Table, Ball, Stop };

struct Event {
    EventKind kind = EventKind::None;
    double time = 0.0; // seconds from now
    int ball = -1;     // the lower index of a pair
    int other = -1;    // the other ball, or the table feature
};

// Nothing can come before the earliest event found so far unless it is reached within that
// time: a pair closes at most at the sum of its speeds, and every table feature lies outside the
// rectangle that the ball's centre can roam without touching one. A candidate is passed over
// only when even its most hopeful time lies beyond the best by this margin (world units), far
// above the rounding of the contact times, so the search finds exactly the event it always did.
constexpr double PRUNE_MARGIN = 1e-6;

// How far (world units) the ball's centre is inside the rectangle free of table features: 0 or
// less when it is not clearly inside. A ball larger than the rack's keeps further in.
double freeDistance(const Ball& ball) {
    const double halfWidth = std::fmin(FREE_HALF_WIDTH, TABLE_WIDTH / 2 - ball.radius);
    const double halfLength = std::fmin(FREE_HALF_LENGTH, TABLE_LENGTH / 2 - ball.radius);
    return std::fmin(halfWidth - std::fabs(ball.position.x),
                     halfLength - std::fabs(ball.position.z));
}

// Whether a gap of `gap` world units, closed at `speed` units/s at most, stays open past `time`;
// the closing starts PAST_CONTACT_TIME early, as contactTime takes a contact that recent as now.
bool staysApart(double gap, double speed, double time) {
    return gap - speed * (time + PAST_CONTACT_TIME) > PRUNE_MARGIN;
}

bool pairStaysApart(const Ball& a, const Ball& b, double closingSpeed, double time) {
    if (closingSpeed == 0.0) return true; // neither moves: no contact, whatever the distance
    const Vec3 d = a.position - b.position;
    const double reach =
        a.radius + b.radius + closingSpeed * (time + PAST_CONTACT_TIME) + PRUNE_MARGIN;
    return d.dot(d) > reach * reach;
}

// Strict comparisons: among simultaneous contacts the lower ball index wins, and for one ball
// its table contact comes before its ball contacts.
Event earliestContact(Ball balls[BALL_COUNT], const Table& table, double dt) {
    Event event;
    event.time = dt;
    double speeds[BALL_COUNT];
    for (int i = 0; i < BALL_COUNT; ++i)
        speeds[i] = balls[i].pocketed ? 0.0 : balls[i].velocity.length();
    for (int i = 0; i < BALL_COUNT; ++i) {
        if (balls[i].pocketed) continue; // it touches nothing any more
        if (!staysApart(freeDistance(balls[i]), speeds[i], event.time)) {
            int feature = -1;
            const double t = table.timeToHit(balls[i], feature);
            if (t >= 0.0 && t < event.time) event = {EventKind::Table, t, i, feature};
        }
        for (int j = i + 1; j < BALL_COUNT; ++j) {
            if (balls[j].pocketed ||
                pairStaysApart(balls[i], balls[j], speeds[i] + speeds[j], event.time))
                continue;
            const double tb = balls[i].timeToHit(balls[j]);
            if (tb >= 0.0 && tb < event.time) event = {EventKind::Ball, tb, i, j};
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
void takeEarlierStop(Ball balls[BALL_COUNT], Event& event) {
    for (int i = 0; i < BALL_COUNT; ++i) {
        const double t = stoppingTime(balls[i]);
        if (t >= 0.0 && t < event.time) event = {EventKind::Stop, t, i, -1};
    }
}

// A ball wedged between balls it touches can trade pushes with them for ever while next to no
// time passes, each push sending it into the other neighbour. A ball in JAM_CONTACTS contacts
// within one frame (free play stays far below that) is jammed and put at rest.
constexpr int JAM_CONTACTS = 1000;

void countContact(Ball& ball, int& count) {
    if (++count % JAM_CONTACTS == 0) ball.stop();
}

// Speeds along the contact normal n: closing before the contact, parting after it.
Contact tableContact(Ball& ball, const Table& table, int feature) {
    const Vec3 n = table.contactNormal(ball, feature);
    Contact contact = {ball.number, feature, table.contactKind(feature), -ball.velocity.dot(n),
                       0.0};
    table.collide(ball, feature);
    contact.speedAfter = ball.velocity.dot(n);
    return contact;
}

Contact ballContact(Ball& a, Ball& b) {
    const Vec3 n = (a.position - b.position).normalized();
    Contact contact = {a.number, b.number, ContactKind::Ball, -(a.velocity - b.velocity).dot(n),
                       0.0};
    a.collideWith(b);
    contact.speedAfter = (a.velocity - b.velocity).dot(n);
    return contact;
}

Contact resolveContact(Ball balls[BALL_COUNT], const Table& table, const Event& event,
                       int contactCounts[BALL_COUNT]) {
    Ball& ball = balls[event.ball];
    Contact contact;
    if (event.kind == EventKind::Table) {
        contact = tableContact(ball, table, event.other);
    } else {
        contact = ballContact(ball, balls[event.other]);
        countContact(balls[event.other], contactCounts[event.other]);
    }
    countContact(ball, contactCounts[event.ball]);
    return contact;
}
} // namespace

int simulate(Ball balls[BALL_COUNT], const Table& table, Referee& referee, ContactHook& hook,
             double dt) {
    int contacts = 0;
    int contactCounts[BALL_COUNT] = {};
    while (dt > 0.0) {
        Event event = earliestContact(balls, table, dt);
        takeEarlierStop(balls, event);
        for (int i = 0; i < BALL_COUNT; ++i) balls[i].advance(event.time);
        if (event.kind == EventKind::None) break;
        if (event.kind == EventKind::Stop) {
            balls[event.ball].stop();
        } else {
            const Contact contact = resolveContact(balls, table, event, contactCounts);
            if (contact.kind == ContactKind::Pocket) referee.ballPocketed(contact.ball);
            hook.contact(contact);
            ++contacts;
        }
        dt -= event.time;
    }
    return contacts;
}

bool allBallsAtRest(const Ball balls[BALL_COUNT]) {
    for (int i = 0; i < BALL_COUNT; ++i)
        if (balls[i].velocity.length() > 0.0) return false;
    return true;
}
