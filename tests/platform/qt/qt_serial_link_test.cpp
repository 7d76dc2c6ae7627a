// QtSerialLink against a real pseudo-terminal pair made by socat: bytes written to the far end
// arrive in the pieces they were written in, a missing or busy port does not open, and the far end
// going away closes the port once instead of flooding it with errors.
#include "platform/qt/qt_serial_link.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <QProcess>
#include <QTest>
#include <filesystem>

#include "support/test_paths.h"

namespace kestrel {
namespace {

namespace fs = std::filesystem;

struct PtyPairTest : ::testing::Test {
  // One folder per test: ctest runs the tests of this file side by side.
  fs::path dir = test::scratchDir(std::string("qt_serial_link_") +
                                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
  std::string near = (dir / "ttyA").string();
  std::string far = (dir / "ttyB").string();
  QProcess socat;

  void SetUp() override {
    socat.start("socat", {"-d", "-d", QString::fromStdString("pty,raw,echo=0,link=" + near),
                          QString::fromStdString("pty,raw,echo=0,link=" + far)});
    ASSERT_TRUE(socat.waitForStarted(5000)) << "socat did not start";
    ASSERT_TRUE(QTest::qWaitFor([&] { return fs::exists(near) && fs::exists(far); }, 5000));
  }
  void TearDown() override {
    if (socat.state() == QProcess::NotRunning) return;
    socat.terminate();
    if (!socat.waitForFinished(3000)) {
      socat.kill();
      socat.waitForFinished(3000);
    }
  }
  SerialPortSettings port(const std::string& name) const {
    SerialPortSettings s;
    s.portName = name;
    return s;
  }
  static void send(int fd, const std::string& bytes) {
    ASSERT_EQ(::write(fd, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
  }
};

TEST_F(PtyPairTest, BytesWrittenInTwoPiecesArriveInTwoReceiveEvents) {
  QtSerialLink link;
  std::vector<std::string> chunks;
  link.setReceiveHandler([&](int waiting) {
    EXPECT_GT(waiting, 0);
    chunks.push_back(link.readAll());
  });
  ASSERT_TRUE(link.open(port(near))) << link.errorText();
  EXPECT_TRUE(link.isOpen());

  const int fd = ::open(far.c_str(), O_WRONLY | O_NOCTTY);
  ASSERT_GE(fd, 0);
  send(fd, "AB");
  ASSERT_TRUE(QTest::qWaitFor([&] { return !chunks.empty(); }, 5000));
  send(fd, "CDE\r");
  ASSERT_TRUE(QTest::qWaitFor([&] { return chunks.size() >= 2; }, 5000));
  ::close(fd);
  EXPECT_EQ(chunks[0], "AB");
  EXPECT_EQ(chunks[1], "CDE\r");

  // The port is taken: a second link cannot open it, and says why.
  QtSerialLink second;
  EXPECT_FALSE(second.open(port(near)));
  EXPECT_FALSE(second.errorText().empty());
  EXPECT_FALSE(second.isOpen());

  link.close();
  EXPECT_FALSE(link.isOpen());
  EXPECT_TRUE(second.open(port(near))) << second.errorText();
}

TEST_F(PtyPairTest, AMissingPortDoesNotOpen) {
  QtSerialLink link;
  EXPECT_FALSE(link.open(port((dir / "nothing").string())));
  EXPECT_FALSE(link.errorText().empty());
  EXPECT_FALSE(link.isOpen());
}

TEST_F(PtyPairTest, TheFarEndGoingAwayClosesThePortOnce) {
  QtSerialLink link;
  int lost = 0;
  link.setLostHandler([&] { ++lost; });
  link.setReceiveHandler([&](int) { link.readAll(); });
  ASSERT_TRUE(link.open(port(near))) << link.errorText();
  socat.terminate();
  ASSERT_TRUE(socat.waitForFinished(5000));
  ASSERT_TRUE(QTest::qWaitFor([&] { return lost > 0; }, 5000));
  QTest::qWait(300);  // what would have been a flood of read errors
  EXPECT_EQ(lost, 1);
  EXPECT_FALSE(link.isOpen());
}

TEST(QtSerialLinkDefaults, ACabWindowStartsAt9600EightNoneOneOnTheFirstPort) {
  const SerialPortSettings s{QtSerialLink::defaultPortName()};
  EXPECT_EQ(s.portName, "/dev/ttyS0");
  EXPECT_EQ(s.baudRate, 9600);
  EXPECT_EQ(s.dataBits, 8);
  EXPECT_EQ(s.parity, SerialPortSettings::Parity::None);
  EXPECT_EQ(s.stopBits, SerialPortSettings::StopBits::One);
  EXPECT_EQ(s.flowControl, SerialPortSettings::FlowControl::None);
}

}  // namespace
}  // namespace kestrel
