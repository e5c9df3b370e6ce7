// The same lines to the network server on a simulated radio and to Hamlib's own rigctld on its
// dummy radio: the answers must have the same shape, whatever the values.
#include "share/sharing.h"
#include "simulator.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <regex>

namespace {

enum class Compare {
    Shape,    // every report, key, header and separator alike; values may differ
    Framing,  // a set or read this server cannot do yet: only its headers and separators
    CanLines, // a capability dump: its header, its "Can ..." names and its report
};

// Each field as the shape it has: a header ("set_freq: 7074000") is kept whole, a value keeps
// only its key, and what a comparison leaves out is dropped with its separator.
std::string shape(const std::string& text, Compare how)
{
    static const std::regex header("^[a-z0-9_]+:( .*)?$");
    static const std::regex keyed("^([^:]+): .*$");
    std::string out;
    std::string field;
    for (const char c : text + '\n') {
        if (c != '\n' && c != ';' && c != '|' && c != ',') {
            field += c;
            continue;
        }
        const bool kept = std::regex_match(field, header) ||
                          (field.rfind("RPRT ", 0) == 0 && how != Compare::Framing);
        if (how == Compare::Shape && !kept) {
            field = field.empty()                    ? ""
                    : std::regex_match(field, keyed) ? std::regex_replace(field, keyed, "$1:")
                                                     : "*";
        } else if (how == Compare::CanLines && field.rfind("Can ", 0) == 0) {
            field = field.substr(0, field.find(':'));
        } else if (!kept) {
            field.clear();
            continue;
        }
        out += field + c;
        field.clear();
    }
    return out;
}

class RigctldComparison : public SimulatorTest {
protected:
    void TearDown() override
    {
        rigctld.terminate();
        rigctld.waitForFinished(kDeadlineMs);
        SimulatorTest::TearDown();
    }

    // What the server at port answers to text, up to the answer to a last command. Not a quit:
    // rigctld 4.5 can write what it answered before a quit to the next client's connection.
    std::string exchange(quint16 port, const std::string& text)
    {
        // A last answer that no row has.
        static const std::string last = "set_split_vfo: 0 VFOA\nRPRT 0\n";
        QTcpSocket socket;
        std::string out;
        QObject::connect(&socket, &QTcpSocket::readyRead, &socket,
                         [&] { out += socket.readAll().toStdString(); });
        socket.connectToHost(QHostAddress::LocalHost, port);
        socket.write(QByteArray::fromStdString(text + "+\\set_split_vfo 0 VFOA\n"));
        EXPECT_TRUE(tickUntil([&] { return out.ends_with(last); })) << text << out;
        return out;
    }

    QProcess rigctld;
};

TEST_F(RigctldComparison, EveryLineIsAnsweredInTheShapeRigctldAnswersIt)
{
    const QString line = startSimulator({"--radio", "0x08"});
    ASSERT_FALSE(line.isEmpty());
    openWindow(line);
    share::Sharing share(window->door());
    // A host name is resolved, and localhost is the loopback address.
    ASSERT_EQ(share.startNetworkServer({"localhost", 0}), "");
    ASSERT_NE(share.networkServer(), nullptr);
    const std::string where = share.networkServer()->where();
    ASSERT_EQ(where.rfind("127.0.0.1:", 0), 0u) << where;
    const auto ours = static_cast<quint16>(std::stoi(where.substr(where.rfind(':') + 1)));

    // Hamlib's reference: its dummy radio, with PTT taken from the radio as ours is.
    quint16 reference = 0;
    {
        QTcpServer probe;
        ASSERT_TRUE(probe.listen(QHostAddress::LocalHost));
        reference = probe.serverPort();
    }
    rigctld.start(QStringLiteral(RIGCTLD_PATH),
                  {"-m", "1", "-P", "RIG", "-T", "127.0.0.1", "-t", QString::number(reference)});
    ASSERT_TRUE(tickUntil([&] {
        QTcpSocket s;
        s.connectToHost(QHostAddress::LocalHost, reference);
        return s.waitForConnected(100);
    }));

    const std::pair<const char*, Compare> rows[] = {
        {"f\n+f\n;f\n|f\n,f\n", Compare::Shape},
        {"+f +m +v\n", Compare::Shape}, // CQRLOG's poll
        {"f m\nfmv\nF 14074000 f\n+F 7074000 +f\n;F 7074000 |f ,m\n", Compare::Shape},
        {"m\n+m\nv\n+v\ns\n;s\n", Compare::Shape},
        {"M USB 2400 m\n+M CW 500\nM USB\n2400\n", Compare::Shape},
        {"\\get_freq\n+\\get_mode\n;\\set_freq 7074000\n", Compare::Shape},
        {"\\get_powerstat\n;\\get_powerstat\n+\\get_powerstat\n", Compare::Shape},
        {"\\chk_vfo\n+\\chk_vfo\n\\get_lock_mode\n+\\get_lock_mode\n", Compare::Shape},
        {"V VFOA\n+V currVFO\nS 0 VFOA\n+T 1 +t T 0 ;t\n", Compare::Shape},
        {"F abc\n+F abc\nF\nf\nT 4\nT on\nV foo\nM USB wide\n", Compare::Shape},
        {"\\foo f\n# m\nv\n\n\n  f\n", Compare::Shape},
        {"+I 14075000\n;X USB 2400\n+x\n|S 1 VFOB\n+V VFOB\n+M PKTUSB -1\n", Compare::Shape},
        {"S 1 VFOB\ni\n;i\nx\n|x\n+s\nV VFOB\nv\n+v\nV VFOA\n", Compare::Shape},
        {"M PKTUSB 0\nm\n+m\nX PKTLSB -1\n+\\get_split_mode\nM USB -1\nS 0 VFOA s\n",
         Compare::Shape},
        // Not done by this server yet: levels.
        {"l STRENGTH\n+l STRENGTH\n;l STRENGTH\n", Compare::Framing},
        // Hamlib's dummy radio takes any frequency; a radio does not.
        {"+F 0\n;F -5\n,F 7e6\n", Compare::Framing},
        {"+\\dump_caps\n\\dump_caps\n", Compare::CanLines},
        {"\\chk_vfo\n+\\dump_state\n", Compare::CanLines},
    };
    fire("ReqTimer");
    for (const auto& [text, how] : rows) {
        const std::string theirs = exchange(reference, text);
        EXPECT_EQ(shape(exchange(ours, text), how), shape(theirs, how)) << text << theirs;
    }
}

} // namespace
