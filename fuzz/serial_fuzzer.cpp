// Feeds bytes to the serial receive path of a drive, in chunks of any length as the port may
// deliver them, with the drive's clocks running between some of them.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_drive.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  kestrel::fuzz::FuzzDrive drive;
  while (in.remaining_bytes() > 0) {
    const bool tick = in.ConsumeBool();
    const std::string chunk = in.ConsumeRandomLengthString(64);
    drive.session->RxChar(chunk);
    drive.session->deliverPosted();
    if (tick) drive.run(100000);
  }
  drive.run(1000000);
  return 0;
}
