// The ALSA capture stream against a fake PCM device.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/wave/alsa_input.h"
#include "wave_fake_pcm.h"
#include "wave_test_window.h"

namespace morvex::wave {
namespace {

using testing::Counting;

class AlsaInputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    device = std::make_shared<testing::FakeDevice>(100, 2, true);
    input = std::make_unique<AlsaInput>(std::make_unique<testing::FakePcm>(device));
  }
  std::vector<uint8_t> ReadAll() {
    std::vector<uint8_t> got(400);
    int64_t frames = input->Read(got.data(), 200);
    got.resize(static_cast<size_t>(frames * 2));
    return got;
  }

  std::shared_ptr<testing::FakeDevice> device;
  std::unique_ptr<AlsaInput> input;
};

TEST_F(AlsaInputTest, ReadsWhatWasRecordedAfterStart) {
  device->Record(Counting(20, 0));
  EXPECT_TRUE(ReadAll().empty()) << "nothing is recorded before the start";
  input->Start();
  EXPECT_EQ(device->State(), SND_PCM_STATE_RUNNING);
  EXPECT_TRUE(ReadAll().empty()) << "nothing recorded yet: the read does not block";
  device->Record(Counting(40, 7));
  EXPECT_EQ(ReadAll(), Counting(40, 7));
}

TEST_F(AlsaInputTest, OverrunIsRecoveredAndRecordingGoesOn) {
  input->Start();
  device->Record(Counting(300, 0));  // more than the 100 frames the device holds
  ASSERT_EQ(device->State(), SND_PCM_STATE_XRUN);
  EXPECT_TRUE(ReadAll().empty());
  EXPECT_EQ(device->State(), SND_PCM_STATE_RUNNING);
  device->Record(Counting(10, 50));
  EXPECT_EQ(ReadAll(), Counting(10, 50));
}

TEST_F(AlsaInputTest, StopDiscardsWhatWasNotRead) {
  input->Start();
  device->Record(Counting(40, 0));
  input->Stop();
  EXPECT_NE(device->State(), SND_PCM_STATE_RUNNING);
  EXPECT_TRUE(ReadAll().empty());
  input->Start();
  EXPECT_TRUE(ReadAll().empty()) << "a new start does not bring back the old frames";
}

TEST_F(AlsaInputTest, FailingDeviceStopsDeliveringAndSaysSoOnce) {
  input->Start();
  device->Record(Counting(40, 0));
  device->Fail(-ENODEV);
  ::testing::internal::CaptureStderr();
  EXPECT_TRUE(ReadAll().empty());
  EXPECT_TRUE(ReadAll().empty());
  input->Start();
  std::string said = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find("sound input device failed"), std::string::npos) << said;
  EXPECT_EQ(said.find('\n'), said.size() - 1) << "one line: " << said;
}

}  // namespace
}  // namespace morvex::wave
