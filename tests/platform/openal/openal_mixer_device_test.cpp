// The mixer on a real OpenAL device: the null backend in this process (see openal_test_support),
// the wave writer and other configurations in processes of their own (openal_mixer_script).
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <thread>

#include "openal_test_support.h"
#include "platform/openal/openal_latency_defaults.h"
#include "platform/openal/openal_mixer.h"
#include "support/test_paths.h"

namespace kestrel {
namespace {

using namespace std::chrono_literals;
using test::runScript;
using test::soxStat;

TEST(OpenAlDeviceTest, NullBackendPlaysInRealTime) {
  const auto dir = test::scratchDir("openal_null");
  OpenAlMixer mixer;
  ASSERT_FALSE(mixer.silent()) << "the null backend opens as a device";
  EXPECT_EQ(mixer.openChannels(), Mixer::kChannelCount);
  EXPECT_EQ(mixer.takeWarning(), std::nullopt);
  ASSERT_TRUE(mixer.outputLatency().has_value());

  const WaveId once = mixer.loadWave(test::toneFile(dir, "once.wav", 0.3));
  const WaveId loop = mixer.loadWave(test::toneFile(dir, "loop.wav", 0.1));
  mixer.setWave(0, once);
  mixer.setWave(Mixer::kChannelCount - 1, loop);
  const auto start = std::chrono::steady_clock::now();
  mixer.playOnce(0);
  mixer.playLooped(Mixer::kChannelCount - 1);
  while (mixer.isPlaying(0) && std::chrono::steady_clock::now() - start < 5s)
    std::this_thread::sleep_for(2ms);
  const auto played = std::chrono::steady_clock::now() - start;
  // The device mixes at most a few periods ahead of the clock; a loaded machine only makes it late.
  EXPECT_GE(played, 250ms);
  EXPECT_LT(played, 5s);
  EXPECT_TRUE(mixer.isPlaying(Mixer::kChannelCount - 1));
  EXPECT_TRUE(mixer.isLooping(Mixer::kChannelCount - 1));
  ASSERT_TRUE(mixer.reinitialise());
  EXPECT_FALSE(mixer.silent());
  EXPECT_FALSE(mixer.hasWave(0));
}

TEST(OpenAlDeviceTest, ASuspendedOutputHoldsItsSoundsUntilResumed) {
  const auto dir = test::scratchDir("openal_suspend");
  OpenAlMixer mixer;
  ASSERT_FALSE(mixer.silent());
  mixer.setWave(3, mixer.loadWave(test::toneFile(dir, "once.wav", 0.3)));
  mixer.playOnce(3);
  mixer.suspendOutput(true);
  // Three times the sound's length: a device that kept mixing would have played it to its end.
  std::this_thread::sleep_for(900ms);
  EXPECT_TRUE(mixer.isPlaying(3)) << "the suspended device mixed";
  mixer.suspendOutput(false);
  const auto resumed = std::chrono::steady_clock::now();
  while (mixer.isPlaying(3) && std::chrono::steady_clock::now() - resumed < 5s)
    std::this_thread::sleep_for(2ms);
  EXPECT_FALSE(mixer.isPlaying(3)) << "the resumed device did not mix";
  // A reinitialised mixer starts out mixing, whatever its predecessor was left at.
  mixer.suspendOutput(true);
  ASSERT_TRUE(mixer.reinitialise());
  mixer.setWave(3, mixer.loadWave(test::toneFile(dir, "short.wav", 0.1)));
  mixer.playOnce(3);
  const auto started = std::chrono::steady_clock::now();
  while (mixer.isPlaying(3) && std::chrono::steady_clock::now() - started < 5s)
    std::this_thread::sleep_for(2ms);
  EXPECT_FALSE(mixer.isPlaying(3));
}

class OpenAlOutputTest : public ::testing::Test {
 protected:
  std::filesystem::path dir_ = test::testScratchDir("openal_output");
};

// A looped 1 kHz tone recorded by the wave writer for a second.
test::SoxStat recordedTone(const std::filesystem::path& dir, const std::string& ratio,
                           const std::string& volume) {
  const auto config = test::waveWriterConfig(dir);
  const auto tone = test::toneFile(dir, "tone.wav", 0.5);
  const auto run = runScript({"ALSOFT_CONF=" + config.string()},
                             {"load", tone.string(), "set", "17", "0", "ratio", "17", ratio, "volume", "17",
                              volume, "loop", "17", "sleep", "1200", "silent"});
  EXPECT_EQ(run.status, 0) << run.errors;
  EXPECT_EQ(run.value("silent"), "0");
  return soxStat(dir / "out.wav", 0.3, 0.6);
}

TEST_F(OpenAlOutputTest, ToneComesOutAtTheSetRateAndVolume) {
  const auto full = recordedTone(dir_, "1", "0");
  EXPECT_NEAR(full.roughFrequency, 1000, 20);
  EXPECT_NEAR(full.maximumAmplitude, 0.5, 0.01);

  const auto slowQuiet = recordedTone(dir_, "0.5", "-2000");
  EXPECT_NEAR(slowQuiet.roughFrequency, 500, 10);
  EXPECT_NEAR(slowQuiet.maximumAmplitude / full.maximumAmplitude, 0.1, 0.003);

  const auto louderThanFull = recordedTone(dir_, "1", "700");
  EXPECT_NEAR(louderThanFull.maximumAmplitude, full.maximumAmplitude, 0.001);

  const auto silent = recordedTone(dir_, "1", "-10000");
  EXPECT_LT(silent.maximumAmplitude, 0.001);
}

TEST_F(OpenAlOutputTest, FewerSourcesThanChannelsAreReported) {
  std::ofstream(dir_ / "alsoft.conf") << "[general]\ndrivers = null\nsources = 100\n";
  const auto tone = test::toneFile(dir_, "tone.wav", 0.5);
  const auto run =
      runScript({"ALSOFT_CONF=" + (dir_ / "alsoft.conf").string()},
                {"channels", "warning", "warning", "load", tone.string(), "set", "150", "0", "once", "150",
                 "playing", "150", "set", "99", "0", "once", "99", "playing", "99"});
  ASSERT_EQ(run.status, 0) << run.errors;
  EXPECT_EQ(run.value("channels"), "100");
  const auto warning = run.values("warning");
  ASSERT_EQ(warning.size(), 2u);
  EXPECT_NE(warning[0].find("Only 100 of 320"), std::string::npos) << warning[0];
  EXPECT_NE(warning[0].find("channels 100 to 319"), std::string::npos) << warning[0];
  EXPECT_EQ(warning[1], "none") << "said once";
  EXPECT_EQ(run.values("playing"), (std::vector<std::string>{"150 0", "99 1"}));
}

TEST_F(OpenAlOutputTest, WithoutADeviceTheMixerRunsSilentlyInRealTime) {
  // A backend whose device cannot be opened, wherever the tests run.
  std::ofstream(dir_ / "alsoft.conf")
      << "[general]\ndrivers = oss\n[oss]\ndevice = " << (dir_ / "no-dsp").string() << "\n";
  const auto tone = test::toneFile(dir_, "tone.wav", 0.4);
  const auto run = runScript({"ALSOFT_CONF=" + (dir_ / "alsoft.conf").string()},
                             {"silent", "warning", "channels", "load",   tone.string(), "set",   "3", "0",
                              "once",   "3",       "wait-end", "3",      "5000",        "loop",  "3", "sleep",
                              "600",    "playing", "3",        "reinit", "warning",     "silent"});
  ASSERT_EQ(run.status, 0) << run.errors;
  EXPECT_EQ(run.values("silent"), (std::vector<std::string>{"1", "1"}));
  const auto warning = run.values("warning");
  ASSERT_EQ(warning.size(), 2u);
  EXPECT_NE(warning[0].find("No sound device"), std::string::npos) << warning[0];
  EXPECT_EQ(warning[1], "none") << "the same condition after reinitialise is not told again";
  EXPECT_EQ(run.value("channels"), "320");
  const auto ended = run.value("ended");
  ASSERT_TRUE(ended.has_value()) << "the sound played once never ended";
  const int ms = std::stoi(ended->substr(ended->find(' ') + 1));
  EXPECT_GE(ms, 390);
  EXPECT_LT(ms, 5000);
  EXPECT_EQ(run.value("playing"), "3 1");
  EXPECT_EQ(run.value("reinit"), "1");
}

// The wave writer on a full disk: the device opens, and is lost at its first write.
TEST_F(OpenAlOutputTest, ALostDeviceLeavesTheMixerRunningSilentlyInRealTime) {
  std::ofstream(dir_ / "alsoft.conf") << "[general]\ndrivers = wave\n[wave]\nfile = /dev/full\n";
  const auto tone = test::toneFile(dir_, "tone.wav", 0.4);
  const auto run = runScript({"ALSOFT_CONF=" + (dir_ / "alsoft.conf").string()},
                             {"load", tone.string(), "set", "0", "0", "set", "1", "0", "volume", "1", "-700",
                              "loop", "0", "once", "1", "sleep", "300", "silent", "warning", "playing", "0",
                              "playing", "1", "channels", "once", "1", "wait-end", "1", "5000", "volume-of", "1",
                              "load", tone.string(), "warning"});
  ASSERT_EQ(run.status, 0) << run.errors;
  EXPECT_EQ(run.value("silent"), "1");
  const auto warning = run.values("warning");
  ASSERT_EQ(warning.size(), 2u);
  EXPECT_EQ(warning[0], "The sound device was lost; the drive goes on without sound.");
  EXPECT_EQ(warning[1], "none") << "said once";
  // The looping sound loops on; the one played once before the loss has ended.
  EXPECT_EQ(run.values("playing"), (std::vector<std::string>{"0 1", "1 0"}));
  EXPECT_EQ(run.value("channels"), "320");
  const auto ended = run.value("ended");
  ASSERT_TRUE(ended.has_value()) << "the sound played once never ended";
  const int ms = std::stoi(ended->substr(ended->find(' ') + 1));
  EXPECT_GE(ms, 390);  // its real length, on the silent device
  EXPECT_LT(ms, 5000);
  EXPECT_EQ(run.value("volume"), "1 -700");
  EXPECT_EQ(run.values("wave"), (std::vector<std::string>{"0", "1"}));
}

TEST_F(OpenAlOutputTest, UnreadableWaveEndsTheScriptWithTheLibrarysMessage) {
  std::ofstream(dir_ / "bad.wav") << "not a sound file";
  const auto run = runScript({"ALSOFT_DRIVERS=null"}, {"load", (dir_ / "missing.wav").string(), "channels"});
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.errors.find("fatal System error : No such file or directory"), std::string::npos)
      << run.errors;
  EXPECT_FALSE(run.value("channels").has_value());
}

// The latency defaults are offered only where no configuration of the user's sets the period.
TEST_F(OpenAlOutputTest, ShortLatencyUnlessTheUserChoseOne) {
  const auto home = dir_ / "home";
  std::filesystem::create_directories(home);
  const std::vector<std::string> env{"ALSOFT_DRIVERS=null", "HOME=" + home.string(),
                                     "XDG_CONFIG_HOME=", "XDG_CONFIG_DIRS=" + (dir_ / "none").string()};
  std::ifstream system("/etc/openal/alsoft.conf");
  std::stringstream systemText;
  systemText << system.rdbuf();
  if (OpenAlLatencyDefaults::setsPeriod(systemText.str()))
    GTEST_SKIP() << "the system configuration sets the period";

  const auto ours = runScript(env, {"latency"});
  ASSERT_EQ(ours.status, 0) << ours.errors;
  const double oursMs = std::stod(ours.value("latency").value_or("0")) / 1e6;
  const double expectedMs =
      1000.0 * OpenAlLatencyDefaults::kPeriodFrames * (OpenAlLatencyDefaults::kPeriods - 1) / 44100;
  EXPECT_GT(oursMs, expectedMs - 0.5);
  EXPECT_LT(oursMs, expectedMs + 2.0);

  std::ofstream(home / ".alsoftrc") << "[general]\nperiod_size = 2048\n";
  const auto theirs = runScript(env, {"latency"});
  ASSERT_EQ(theirs.status, 0) << theirs.errors;
  const double theirsMs = std::stod(theirs.value("latency").value_or("0")) / 1e6;
  EXPECT_GT(theirsMs, 1000.0 * 2048 * 2 / 44100 - 0.5) << "the user's period_size wins";
}

TEST(OpenAlLatencyDefaultsTest, SeesAPeriodSetAnywhere) {
  EXPECT_FALSE(OpenAlLatencyDefaults::setsPeriod(""));
  EXPECT_FALSE(
      OpenAlLatencyDefaults::setsPeriod("[general]\n#period_size = 1024\n## periods: number\nsources=9\n"));
  EXPECT_FALSE(OpenAlLatencyDefaults::setsPeriod("[general]\nperiod_sizes = 4\n[period_size]\n"));
  EXPECT_TRUE(OpenAlLatencyDefaults::setsPeriod("[general]\n  period_size =  512\r\n"));
  EXPECT_TRUE(OpenAlLatencyDefaults::setsPeriod("[alsa/hw:0]\nperiods=4"));
}

}  // namespace
}  // namespace kestrel
