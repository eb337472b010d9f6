// The settings file reader on an arbitrary file: it loads (or refuses) without fault.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

#include "ui/settings_file.h"
#include "support/memory_file_system.h"
#include "support/recording_host.h"

namespace {

// The file each input is written to; removed when the fuzzer exits.
struct TempIni {
  std::filesystem::path path =
      std::filesystem::temp_directory_path() / ("kelvarine-fuzz-" + std::to_string(getpid()) + ".ini");
  ~TempIni() {
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const TempIni temp;
  const std::filesystem::path& path = temp.path;
  {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  kelvarine::MainPanelState panel;
  kelvarine::AppState app;
  kelvarine::MemoryFileSystem files;
  kelvarine::RecordingHost host;
  kelvarine::SettingsServices settings{panel, app, files, host};
  kelvarine::LoadSettings(settings, path);
  return 0;
}
