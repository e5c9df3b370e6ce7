// The link to the bus: its port, the pump's reads and releases, and what the account is told.
#include "line/link.h"

#include "platform/logging.h"
#include "platform/tcp_connection.h"

#include <span>

namespace line {

namespace {

std::span<const std::uint8_t> byteSpan(const QByteArray& bytes)
{
    return {reinterpret_cast<const std::uint8_t*>(bytes.constData()),
            static_cast<std::size_t>(bytes.size())};
}

} // namespace

Link::Link(std::unique_ptr<platform::SerialConnection> connection, std::function<Millis()> clock)
    : connection_(std::move(connection))
    , clock_(std::move(clock))
{}

bool Link::open(const QString& location, int rate)
{
    connection_->close();
    account_.portChosen(location.toStdString(), rate,
                        platform::TcpConnection::isTcpLocation(location), now());
    const bool opened = connection_->open(location, rate);
    opened ? account_.portOpened(now()) : account_.portFailed(openReason().toStdString(), now());
    return opened;
}

platform::OpenError Link::reopen(int rate)
{
    if (settings_.port.empty()) {
        return platform::OpenError::NotFound;
    }
    open(QString::fromStdString(settings_.port), rate);
    return openError();
}

QString Link::openReason() const
{
    // Qt words a held port as a locking error.
    return connection_->openError() == platform::OpenError::Busy
               ? QStringLiteral("busy: another program holds it")
               : connection_->errorString();
}

Link::Chunk Link::read()
{
    Chunk chunk{connection_->readAvailable(), connection_->takeFailure()};
    if (chunk.failure) {
        const std::string reason = chunk.failure->reason.toStdString();
        chunk.failure->kind == platform::ConnectionFailure::Kind::OpenFailed
            ? account_.portFailed(reason, now())
            : account_.portLost(reason, now());
    }
    if (!chunk.bytes.isEmpty()) {
        account_.received(byteSpan(chunk.bytes), now());
        emit taps_.received(chunk.bytes);
    }
    return chunk;
}

civ::FrameParser::Event Link::parse(int byte)
{
    const civ::FrameParser::Event event = parser_.ParseByte(byte);
    // Any frame on the bus, to whomever and however long, makes the next one wait; but for
    // another program's exchange, which holds a due frame until it is over: the ring keeps
    // the count it would keep without them.
    if ((event == civ::FrameParser::Event::FrameEnd ||
         event == civ::FrameParser::Event::OverlongFrameEnd) &&
        !fastExchange_) {
        ring_.frameEndSeen();
    }
    if (event == civ::FrameParser::Event::OverlongFrameEnd) {
        qCDebug(lcCiv) << "dropped a frame with more than" << parser_.parseMsg.size()
                       << "data bytes";
    }
    return event;
}

std::optional<std::uint64_t> Link::send(const civ::Frame& frame, const Origin& origin)
{
    if (fromOtherProgram(origin)) {
        return sendFast(frame, origin);
    }
    if (!ring_.fits(frame)) {
        qCWarning(lcSerial) << "transmit queue full: frame of" << frame.size() << "bytes refused,"
                            << ring_.queue().queued() << "bytes waiting";
        return std::nullopt;
    }
    const std::uint64_t id = account_.queued(frame, origin, now());
    ring_.push(frame, id);
    return id;
}

std::optional<std::uint64_t> Link::sendFast(const civ::Frame& frame, const Origin& origin)
{
    if (frame.empty() || fastBytes_ + frame.size() > kFastLaneBytes) {
        qCWarning(lcSerial) << "fast lane full: frame of" << frame.size() << "bytes refused,"
                            << fastBytes_ << "bytes waiting";
        return std::nullopt;
    }
    const std::uint64_t id = account_.queued(frame, origin, now());
    fast_.push_back({id, frame});
    fastBytes_ += frame.size();
    writeFast();
    return id;
}

void Link::release()
{
    // A closed port takes nothing: what the ring hands out then never left.
    const bool open = connection_->isOpen();
    // A due frame waits for another program's answer, its countdown run out; without other
    // programs the ring paces as ever.
    const bool held = ring_.due() && !ring_.midFrame() && account_.awaitingAnswer(now(), true);
    left_.clear();
    const civ::Frame out = held ? civ::Frame{} : ring_.release(open, left_);
    if (!out.empty()) {
        const QByteArray bytes(reinterpret_cast<const char*>(out.data()), qsizetype(out.size()));
        if (open) {
            connection_->write(bytes);
        }
        tell(left_, now());
        if (open) {
            emit taps_.written(bytes);
        }
    }
    fastExchange_ = fastExchange_ && account_.awaitingAnswer(now(), true);
    writeFast();
}

bool Link::busFree() const
{
    return parser_.parseState == 0 && !ring_.due() && !ring_.midFrame() &&
           !account_.awaitingAnswer(now());
}

void Link::writeFast()
{
    while (!fast_.empty()) {
        const bool open = connection_->isOpen();
        if (open && !busFree()) {
            return;
        }
        const FastFrame next = std::move(fast_.front());
        fast_.pop_front();
        fastBytes_ -= next.frame.size();
        if (!open) {
            account_.dropped(next.id, now());
            continue;
        }
        const QByteArray bytes(reinterpret_cast<const char*>(next.frame.data()),
                               qsizetype(next.frame.size()));
        connection_->write(bytes);
        fastExchange_ = true;
        account_.written(next.id, now());
        emit taps_.written(bytes);
    }
}

void Link::tell(const std::vector<FrameRing::Left>& left, Millis now)
{
    for (const FrameRing::Left& frame : left) {
        frame.taken ? account_.written(frame.id, now) : account_.dropped(frame.id, now);
    }
}

Millis Link::finishTick()
{
    const Millis at = now();
    account_.tick(at);
    publish();
    return at;
}

bool Link::publish()
{
    const std::vector<FrameEvent> events = account_.takeEvents();
    for (const FrameEvent& event : events) {
        emit taps_.frame(event);
    }
    return !events.empty();
}

void Link::resetRing()
{
    ring_.reset();
    fast_.clear();
    fastBytes_ = 0;
    // The account holds the same frames: each is told dropped.
    account_.ringCleared(now());
}

void Link::choose(const Settings& settings)
{
    settings_ = settings;
    account_.setAddresses(settings.ourId, settings.radioId);
    emit taps_.settingsChanged();
}

} // namespace line
