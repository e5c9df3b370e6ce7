// Where the CI-V port's link may go, and that it goes away with the port.
#include "platform/pseudo_terminal.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct Place {
    const char* name;
    const char* linkTarget; // what is at the path beforehand: a link to this, or
    bool file;              // a plain file
    bool opens;
};

void PrintTo(const Place& p, std::ostream* out)
{
    *out << p.name;
}

class LinkPath : public ::testing::TestWithParam<Place> {};

TEST_P(LinkPath, IsTakenOnlyWhenNothingLiveIsThere)
{
    const Place& place = GetParam();
    const QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("civ"));
    if (place.linkTarget) {
        ASSERT_TRUE(QFile::link(QString::fromLatin1(place.linkTarget), path));
    }
    if (place.file) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }

    platform::PseudoTerminal terminal(nullptr);
    const QString error = terminal.open(path);
    EXPECT_EQ(error.isEmpty(), place.opens) << error.toStdString();
    EXPECT_EQ(terminal.isOpen(), place.opens);
    if (!place.opens) {
        EXPECT_EQ(QFileInfo(path).isSymLink(), place.linkTarget != nullptr) << "left as it was";
        return;
    }
    EXPECT_EQ(QFileInfo(path).symLinkTarget(), terminal.devicePath());
    EXPECT_TRUE(QFileInfo::exists(terminal.devicePath()));
    terminal.close();
    EXPECT_FALSE(QFileInfo(path).isSymLink()) << "the link goes with the port";
}

INSTANTIATE_TEST_SUITE_P(CivPort, LinkPath,
                         ::testing::Values(Place{"nothing", nullptr, false, true},
                                           Place{"a link left by a terminal that is gone",
                                                 "/dev/pts/no-such", false, true},
                                           Place{"a link to something that exists", "/dev/null",
                                                 false, false},
                                           Place{"a file", nullptr, true, false}),
                         [](const auto& info) { return std::to_string(info.index); });

} // namespace
