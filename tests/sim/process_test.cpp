#include "bus_parser.h"
#include "test_process.h"

#include <arpa/inet.h>
#include <csignal>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <termios.h>

namespace civsim::test {
namespace {

const Bytes kReadFrequency{0xFE, 0xFE, 0x08, 0xEA, 0x03, 0xFD};
const Bytes kFrequencyReply{0xFE, 0xFE, 0xEA, 0x08, 0x03, 0x00, 0x40, 0x07, 0x14, 0x00, 0xFD};

int openRaw(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY);
    termios tio{};
    if (fd >= 0 && ::tcgetattr(fd, &tio) == 0) {
        ::cfmakeraw(&tio);
        ::tcsetattr(fd, TCSANOW, &tio);
    }
    return fd;
}

// Sends `request` and expects its echo followed by `reply`, byte for byte.
void expectExchange(int fd, const Bytes& request, const Bytes& reply)
{
    writeAll(fd, request);
    EXPECT_EQ(readBytes(fd, request.size()), request) << "echo";
    EXPECT_EQ(readBytes(fd, reply.size()), reply) << "reply";
}

TEST(CivSimProcess, ServesPtyAcrossReopenAndStopsOnSigterm)
{
    TestProcess sim({CIV_SIM_PATH});
    const auto path = sim.readLine();
    ASSERT_TRUE(path);
    {
        const ScopedFd port(openRaw(*path));
        ASSERT_GE(port.fd, 0) << *path;
        expectExchange(port.fd, kReadFrequency, kFrequencyReply);
        expectExchange(port.fd, {0xFE, 0xFE, 0x08, 0xEA, 0x05, 0x00, 0x00, 0x10, 0x07, 0x00, 0xFD},
                       {0xFE, 0xFE, 0xEA, 0x08, 0xFB, 0xFD});
    }
    {
        // The controller re-opens the port on every rate change; the radio keeps its state.
        const ScopedFd port(openRaw(*path));
        ASSERT_GE(port.fd, 0);
        expectExchange(port.fd, kReadFrequency,
                       {0xFE, 0xFE, 0xEA, 0x08, 0x03, 0x00, 0x00, 0x10, 0x07, 0x00, 0xFD});
    }
    sim.signal(SIGTERM);
    EXPECT_EQ(sim.waitExit(), 0);
}

TEST(CivSimProcess, ServesOneTcpClientAfterAnother)
{
    TestProcess sim({CIV_SIM_PATH, "--listen", "127.0.0.1:0", "--echo", "off", "--radio",
                     "0x94,freq=7040000,bytes=4"});
    const auto address = sim.readLine();
    ASSERT_TRUE(address);
    const std::string prefix = "tcp://127.0.0.1:";
    ASSERT_EQ(address->rfind(prefix, 0), 0u) << *address;
    const int port = std::stoi(address->substr(prefix.size()));
    ASSERT_GT(port, 0);

    for (int client = 0; client < 2; ++client) {
        const ScopedFd sock(::socket(AF_INET, SOCK_STREAM, 0));
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_port = htons(static_cast<std::uint16_t>(port));
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ASSERT_EQ(::connect(sock.fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
        writeAll(sock.fd, {0xFE, 0xFE, 0x94, 0xE0, 0x03, 0xFD});
        EXPECT_EQ(readBytes(sock.fd, 10),
                  (Bytes{0xFE, 0xFE, 0xE0, 0x94, 0x03, 0x00, 0x00, 0x04, 0x07, 0xFD}))
            << "client " << client;
    }
    sim.signal(SIGINT);
    EXPECT_EQ(sim.waitExit(), 0);
}

TEST(CivSimProcess, AnswersThroughFloodAndJam)
{
    TestProcess sim(
        {CIV_SIM_PATH, "--flood", "--baud", "19200", "--controller", "0xE0", "--jam-every", "0.2"});
    const auto path = sim.readLine();
    ASSERT_TRUE(path);
    const ScopedFd port(openRaw(*path));
    ASSERT_GE(port.fd, 0);
    writeAll(port.fd, kReadFrequency);

    BusParser parser;
    bool echoed = false;
    bool replied = false;
    bool reported = false;
    bool jammed = false;
    Bytes bytes;
    const auto end = std::chrono::steady_clock::now() + kDeadline;
    while (!(replied && reported && jammed) && std::chrono::steady_clock::now() < end &&
           !(bytes = readBytes(port.fd, 1)).empty()) {
        jammed = jammed || bytes[0] == kJam;
        if (const auto frame = parser.push(bytes[0])) {
            echoed = echoed || frame->encode() == kReadFrequency;
            replied = replied || (echoed && frame->encode() == kFrequencyReply);
            reported = reported || (frame->dest == 0xE0 && frame->src == 0x08);
        }
    }
    EXPECT_TRUE(replied) << "no echo followed by the reply";
    EXPECT_TRUE(reported) << "no unsolicited report to the controller";
    EXPECT_TRUE(jammed);
    sim.signal(SIGTERM);
    EXPECT_EQ(sim.waitExit(), 0);
}

TEST(CivSimProcess, BadOptionExitsWithTwo)
{
    TestProcess sim({CIV_SIM_PATH, "--radio", "0xFE"});
    const auto message = sim.readLine();
    ASSERT_TRUE(message);
    EXPECT_NE(message->find("--radio"), std::string::npos) << *message;
    EXPECT_EQ(sim.waitExit(), 2);
}

} // namespace
} // namespace civsim::test
