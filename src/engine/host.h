#pragma once

#include <cstdint>
#include <string>

namespace kelvarine {

// A file's modification time in nanoseconds since the epoch; equal stamps compare equal.
using FileStamp = std::int64_t;

// Everything a run needs from its surroundings: the GUI, the command line and the tests each
// implement it. No engine code knows which one it talks to.
class Host {
 public:
  virtual ~Host() = default;

  // The status panel of the main window.
  virtual void setStatusText(const std::string& text) = 0;
  // Shows or hides the progress title, the progress bar and the percentage label together.
  virtual void setProgressVisible(bool visible) = 0;
  virtual void setProgressTitle(const std::string& title) = 0;
  // Position of the progress bar, 0..100.
  virtual void setProgressPosition(int position) = 0;
  virtual void setPercentText(const std::string& text) = 0;
  // The two activity images: set both, or swap the visibility of each.
  virtual void setActivityImages(bool firstVisible, bool secondVisible) = 0;
  virtual void toggleActivityImages() = 0;
  // Lets the front end process pending input; this is where a halt request can be raised.
  virtual void processEvents() = 0;
  // A modal message with one OK button.
  virtual void showMessage(const std::string& text) = 0;
  // A Yes/No question; true for Yes.
  virtual bool askYesNo(const std::string& question) = 0;
  // The stamp as the user's locale short date and long time.
  virtual std::string formatDateTime(FileStamp stamp) = 0;
};

}  // namespace kelvarine
