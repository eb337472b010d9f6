#include "ui/main_panel_pages.h"

#include <gtest/gtest.h>

#include <string>

#include "support/memory_file_system.h"
#include "support/recording_host.h"

namespace kelvarine {
namespace {

class MainPanelPagesTest : public ::testing::Test {
 protected:
  AppState app;
  MainPanelState panel;
  MemoryFileSystem files;
  RecordingHost host;
  PageServices services{app, panel, files, host, "/work"};
  PageMemory memory;
  CompareChoices& choices = app.choices;
};

TEST_F(MainPanelPagesTest, PreferencesLeftForAnotherPage) {
  choices.setChecked(Pref::Icas, true);
  ChangePage(services, memory, Page::Preferences);
  EXPECT_EQ(app.optionsString, "None");  // entering Preferences does not rebuild
  // Leaving for another page keeps the edits; Abin takes out the four boxes it overrides.
  for (Pref p : {Pref::Txal, Pref::Txfo, Pref::Sbsl, Pref::Noss, Pref::Abin})
    choices.setChecked(p, true);
  ChangePage(services, memory, Page::About);
  EXPECT_EQ(app.optionsString, "Icas Abin");
  EXPECT_FALSE(choices.isChecked(Pref::Txal));

  // A checked box does not show until the page is left.
  ChangePage(services, memory, Page::Preferences);
  PreferencesReset(services);
  EXPECT_EQ(choices.checked, decltype(choices.checked){});
  EXPECT_EQ(app.optionsString, "Icas Abin");
  ChangePage(services, memory, Page::MainPanel);
  EXPECT_EQ(app.optionsString, "None");
}

TEST_F(MainPanelPagesTest, DpOptionsEnteringRebuildsAndCancelRestores) {
  choices.setChecked(Pref::Ccol, true);  // checked on another route, not yet shown
  choices.dpIndex = 6;
  choices.dudcTag = "--";
  choices.dudcYesNo = "Yessir";
  ChangePage(services, memory, Page::DpOptions);
  EXPECT_EQ(app.optionsString, "Dcpp Ccol");
  choices.dpIndex = 10;
  choices.dudcTag = "rem";
  choices.dudcYesNo = "No";
  DpOptionsCancel(services, memory);
  EXPECT_EQ(choices.dpIndex, 6);
  EXPECT_EQ(choices.dudcTag, "--");
  EXPECT_EQ(choices.dudcYesNo, "Yes");  // three characters are kept
}

}  // namespace
}  // namespace kelvarine
