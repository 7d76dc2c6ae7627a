#pragma once
// Call-out points that record what the rules fired, for tests of those rules.
#include <string>
#include <vector>

#include "core/state/callout_points.h"

namespace kestrel::test {

class RecordingCallouts final : public CalloutPoints {
 public:
  void StationKanko(int type) override { calls.push_back("StationKanko " + std::to_string(type)); }
  void kanko_add(int type) override { calls.push_back("kanko_add " + std::to_string(type)); }
  void kanko_queue_add(int clip) override { calls.push_back("kanko_queue_add " + std::to_string(clip)); }
  void Timekanko(int time, int kind) override {
    calls.push_back("Timekanko " + std::to_string(time) + " " + std::to_string(kind));
  }
  void Timecheck(int flag) override { calls.push_back("Timecheck " + std::to_string(flag)); }
  void calloutKey() override { calls.push_back("calloutKey"); }

  std::vector<std::string> calls;
};

}  // namespace kestrel::test
