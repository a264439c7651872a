// The game's operations, and its state compared, hashed, written to bytes and read back.
#include "sim/game.h"

#include <cmath>
#include <cstring>

#include "sim/contact.h"
#include "sim/simulation.h"
#include "sim/strike.h"

namespace {
constexpr char BYTES_MAGIC[8] = {'p', 'o', 'o', 'l', 'g', 'a', 'm', '1'};
constexpr std::uint64_t FNV_OFFSET = 0xcbf29ce484222325ull;
constexpr std::uint64_t FNV_PRIME = 0x100000001b3ull;

std::uint64_t fnv1a(const std::string& bytes) {
    std::uint64_t h = FNV_OFFSET;
    for (const char c : bytes) h = (h ^ std::uint8_t(c)) * FNV_PRIME;
    return h;
}

// Fixed-width little-endian fields, whatever the machine's own order.
class ByteWriter {
public:
    std::string bytes;
    void u64(std::uint64_t v) {
        for (int i = 0; i < 8; ++i) bytes.push_back(char((v >> (8 * i)) & 0xff));
    }
    void i32(int v) { u64(std::uint64_t(std::int64_t(v))); }
    void f64(double v) {
        std::uint64_t bits;
        std::memcpy(&bits, &v, sizeof bits);
        u64(bits);
    }
    void f32(float v) {
        std::uint32_t bits;
        std::memcpy(&bits, &v, sizeof bits);
        u64(bits);
    }
    void vec(const Vec3& v) { f64(v.x), f64(v.y), f64(v.z); }
};

class ByteReader {
public:
    explicit ByteReader(const std::string& bytes) : bytes(bytes) {}
    bool ok = true;
    std::uint64_t u64() {
        if (at + 8 > bytes.size()) return ok = false, 0;
        std::uint64_t v = 0;
        for (int i = 0; i < 8; ++i) v |= std::uint64_t(std::uint8_t(bytes[at + i])) << (8 * i);
        at += 8;
        return v;
    }
    // A whole number within [low, high]; anything else marks the bytes refused.
    int i32(int low, int high) {
        const auto v = std::int64_t(u64());
        if (v < low || v > high) ok = false;
        return ok ? int(v) : low;
    }
    double f64() {
        const std::uint64_t bits = u64();
        double v;
        std::memcpy(&v, &bits, sizeof v);
        if (!std::isfinite(v)) ok = false;
        return v;
    }
    float f32() {
        const std::uint64_t wide = u64();
        if (wide > 0xffffffffull) ok = false;
        const auto bits = std::uint32_t(wide);
        float v;
        std::memcpy(&v, &bits, sizeof v);
        if (!std::isfinite(v)) ok = false;
        return v;
    }
    Vec3 vec() {
        const double x = f64(), y = f64(), z = f64();
        return Vec3(x, y, z);
    }
    bool atEnd() const { return at == bytes.size(); }

private:
    const std::string& bytes;
    std::size_t at = 0;
};

// The fields that decide the rest of the game.
void writeDeciding(ByteWriter& out, const Game& game) {
    for (const Ball& ball : game.balls) {
        out.i32(ball.number), out.f64(ball.radius), out.f64(ball.mass), out.i32(ball.pocketed);
        out.vec(ball.position), out.vec(ball.velocity), out.vec(ball.acceleration);
    }
    out.i32(game.table.length), out.i32(game.table.width);
    const Referee& r = game.referee;
    out.i32(r.stripesRemaining), out.i32(r.solidsRemaining);
    for (const PlayerRecord& player : r.players)
        out.i32(int(player.group)), out.i32(player.onEightBall);
    out.i32(r.firstPocketed), out.i32(int(r.tableState)), out.i32(r.cuePocketed);
    out.i32(r.eightPocketed), out.i32(r.winner), out.i32(r.currentPlayer), out.i32(r.won);
    out.i32(r.lost), out.i32(int(r.playState));
}

// The painted faces' turn: shown, but it changes nothing of what happens next.
void writeFaces(ByteWriter& out, const Game& game) {
    for (const Ball& ball : game.balls) {
        out.vec(ball.rotation), out.vec(ball.angularVelocity), out.vec(ball.angularAcceleration);
        for (float f : ball.orientation) out.f32(f);
    }
}

bool readDeciding(ByteReader& in, Game& game) {
    for (Ball& ball : game.balls) {
        ball.number = in.i32(0, BALL_COUNT - 1);
        ball.radius = in.f64(), ball.mass = in.f64(), ball.pocketed = in.i32(0, 1);
        ball.position = in.vec(), ball.velocity = in.vec(), ball.acceleration = in.vec();
    }
    game.table.length = in.i32(TABLE_LENGTH, TABLE_LENGTH);
    game.table.width = in.i32(TABLE_WIDTH, TABLE_WIDTH);
    Referee& r = game.referee;
    r.stripesRemaining = in.i32(0, 7), r.solidsRemaining = in.i32(0, 7);
    for (PlayerRecord& player : r.players) {
        player.group = BallGroup(in.i32(0, 2));
        player.onEightBall = in.i32(0, 1);
    }
    r.firstPocketed = in.i32(-1, BALL_COUNT - 1), r.tableState = TableState(in.i32(0, 2));
    r.cuePocketed = in.i32(0, 1), r.eightPocketed = in.i32(0, 1), r.winner = in.i32(0, 1);
    r.currentPlayer = in.i32(0, 1), r.won = in.i32(0, 1), r.lost = in.i32(0, 1);
    r.playState = PlayState(in.i32(0, 3));
    return in.ok;
}

bool readFaces(ByteReader& in, Game& game) {
    for (Ball& ball : game.balls) {
        ball.rotation = in.vec(), ball.angularVelocity = in.vec();
        ball.angularAcceleration = in.vec();
        for (float& f : ball.orientation) f = in.f32();
    }
    return in.ok;
}
} // namespace

Game::Game() {
    for (int i = 0; i < BALL_COUNT; ++i) balls[i] = Ball(rack[i]);
}

void Game::newGame(int breaker) {
    for (int i = 0; i < BALL_COUNT; ++i) balls[i].reset(rack[i].position);
    referee.reset();
    referee.currentPlayer = breaker;
}

bool Game::spotFree(double x, double z, double clearance) const {
    // Asked so that a spot that is not a number lies outside.
    if (!(std::fabs(x) <= FREE_HALF_WIDTH && std::fabs(z) <= FREE_HALF_LENGTH)) return false;
    for (int i = 1; i < BALL_COUNT; ++i) {
        const Ball& ball = balls[i];
        if (ball.pocketed) continue;
        const double dx = ball.position.x - x, dz = ball.position.z - z;
        if (std::sqrt(dx * dx + dz * dz) <= balls[0].radius + ball.radius + clearance) return false;
    }
    return true;
}

bool Game::placeCueBall(double x, double z) {
    if (!spotFree(x, z)) return false;
    Ball& cueBall = balls[0];
    cueBall.pocketed = false;
    cueBall.position = Vec3(x, RESTING_HEIGHT, z);
    referee.resumeAiming();
    return true;
}

bool Game::respotCueBall() {
    const float* spot = rack[0].position;
    if (!placeCueBall(spot[0], spot[2])) return false;
    Ball& cueBall = balls[0];
    cueBall.velocity = cueBall.acceleration = cueBall.rotation = Vec3();
    cueBall.angularVelocity = cueBall.angularAcceleration = Vec3();
    return true;
}

void Game::liftCueBall() {
    balls[0].pocketed = false;
    balls[0].position = Vec3(0.0, PLACING_HEIGHT, 0.0);
}

void Game::clearTable() {
    for (int i = 1; i < BALL_COUNT; ++i) {
        Ball& ball = balls[i];
        if (ball.number == 8) continue;
        if (!ball.pocketed) referee.ballPocketed(ball.number);
        ball.pocketed = true;
    }
}

void Game::strike(double angleDegrees, double power) {
    strikeBall(balls[0], angleDegrees, power);
    referee.startShot();
}

int Game::playFrame(double dt, ContactHook& hook) {
    return simulate(balls, table, referee, hook, dt);
}

bool Game::atRest() const { return allBallsAtRest(balls); }

ShotOutcome Game::endShot() {
    const ShotOutcome outcome = referee.endShot();
    if (outcome.ballInHand) liftCueBall();
    return outcome;
}

long Game::playShot(double dt, ContactHook& hook, long maxFrames) {
    long frames = 0;
    while (frames < maxFrames) {
        playFrame(dt, hook);
        ++frames;
        if (atRest()) break;
    }
    endShot();
    return frames;
}

bool Game::operator==(const Game& other) const {
    return std::equal(balls, balls + BALL_COUNT, other.balls) && table == other.table &&
           referee == other.referee;
}

std::uint64_t Game::hash() const {
    ByteWriter out;
    writeDeciding(out, *this);
    return fnv1a(out.bytes);
}

std::uint64_t gameConstantsHash() {
    ByteWriter out;
    for (const TableFeature& f : tableFeatures) {
        out.i32(int(f.kind)), out.vec(f.a), out.vec(f.b), out.vec(f.normal);
        out.f64(f.radius);
    }
    for (const RackEntry& row : rack)
        for (const float c : row.position) out.f32(c);
    for (const double c : {BALL_RADIUS, ROLLING_DECELERATION, CUSHION_RESTITUTION,
                           PAST_CONTACT_TIME, FREE_HALF_WIDTH, FREE_HALF_LENGTH})
        out.f64(c);
    return fnv1a(out.bytes);
}

std::string Game::toBytes() const {
    ByteWriter out;
    out.bytes.assign(BYTES_MAGIC, sizeof BYTES_MAGIC);
    writeDeciding(out, *this);
    writeFaces(out, *this);
    return out.bytes;
}

bool Game::fromBytes(const std::string& bytes, Game& game) {
    if (bytes.compare(0, sizeof BYTES_MAGIC, BYTES_MAGIC, sizeof BYTES_MAGIC) != 0) return false;
    ByteReader in(bytes);
    for (std::size_t i = 0; i < sizeof BYTES_MAGIC; i += 8) in.u64();
    Game read;
    if (!readDeciding(in, read) || !readFaces(in, read) || !in.atEnd()) return false;
    game = read;
    return true;
}
