// The Setup and Set NV ram dialogs driven offscreen, and downloads that fill
// the window's pane.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include "app/gui/memo_pane.h"
#include "app/gui/tnvram.h"
#include "app/gui/tsettings.h"
#include "tests/gui/gui_test_support.h"

namespace {

using guitest::MakeWindow;
using guitest::RecordingMessages;
using guitest::StartRecorder;

const char* const kNoDevice = "/nonexistent/quorvel-test-port";

// Runs `steps` once the modal dialog is up (a command may first wait for the
// recorder, running events meanwhile).
void WhenShown(QDialog& dialog, std::function<void()> steps, int triesLeft = 500) {
  QTimer::singleShot(triesLeft == 500 ? 0 : 10, &dialog, [&dialog, steps, triesLeft] {
    if (!dialog.isVisible() && triesLeft > 0) {
      WhenShown(dialog, steps, triesLeft - 1);
      return;
    }
    ASSERT_TRUE(dialog.isVisible());
    steps();
  });
}

TEST(SettingsDialog, CaptionTextsLimitsAndDefaults) {
  RecordingMessages messages;
  gui::TSettings dialog(messages);
  EXPECT_EQ(dialog.windowTitle().toStdString(), "Settings");
  EXPECT_GE(dialog.width(), 287);
  EXPECT_GE(dialog.height(), 157);
  auto label = [&](const char* name) { return dialog.findChild<QLabel*>(name)->text().toStdString(); };
  EXPECT_EQ(label("Label7"), "NV ram data");
  EXPECT_EQ(label("Label1"), "Time between samples (1-255 minutes)");
  EXPECT_EQ(label("Label4"), "Start Delay (0-65535 minutes)");
  EXPECT_EQ(label("Label2"), "Alarms (-40 to 84\u00B0C)  Low");
  EXPECT_EQ(label("Label3"), "High");
  EXPECT_EQ(dialog.NVramEdit()->text().toStdString(), "12345678901234567890123456789012");
  EXPECT_EQ(dialog.NVramEdit()->maxLength(), 32);
  EXPECT_EQ(dialog.NVramEdit()->toolTip().toStdString(), "Type in your own description (32 chars max)");
  EXPECT_EQ(dialog.SampleInterval()->text().toStdString(), "1");
  EXPECT_EQ(dialog.StartDelay()->text().toStdString(), "0");
  EXPECT_EQ(dialog.LowAlarm()->text().toStdString(), "-40");
  EXPECT_EQ(dialog.HighAlarm()->text().toStdString(), "84");
  EXPECT_TRUE(dialog.ImmediateStart()->isChecked());
  EXPECT_EQ(dialog.ImmediateStart()->text().toStdString(), "Immediate Start");
  EXPECT_EQ(dialog.RadioButton2()->text().toStdString(), "Button Start");
  EXPECT_EQ(dialog.OKButton()->text().toStdString(), "&OK");
  EXPECT_TRUE(dialog.OKButton()->isDefault());
  EXPECT_EQ(dialog.CancelButton()->text().toStdString(), "&Cancel");
}

TEST(SettingsDialog, OkReplacesOutOfRangeValuesAndStaysOpenThenAccepts) {
  RecordingMessages messages;
  gui::TSettings dialog(messages);
  logger::SettingsFields fields;
  fields.SampleInterval = "0";
  fields.StartDelay = "70000";
  bool stayedOpen = false;
  WhenShown(dialog, [&] {
    dialog.OKButton()->click();
    stayedOpen = dialog.isVisible();
    EXPECT_EQ(dialog.SampleInterval()->text().toStdString(), "1");
    EXPECT_EQ(dialog.StartDelay()->text().toStdString(), "0");
    dialog.OKButton()->click();
  });
  EXPECT_TRUE(dialog.Execute(fields));
  EXPECT_TRUE(stayedOpen);
  EXPECT_EQ(fields.SampleInterval, "1");
  EXPECT_EQ(fields.StartDelay, "0");
  EXPECT_TRUE(messages.messages.empty());
}

TEST(SettingsDialog, ANonNumberShowsTheConversionMessageAndKeepsTheDialogOpen) {
  RecordingMessages messages;
  gui::TSettings dialog(messages);
  logger::SettingsFields fields;
  fields.SampleInterval = "300";
  fields.LowAlarm = "cold";
  WhenShown(dialog, [&] {
    dialog.OKButton()->click();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.SampleInterval()->text().toStdString(), "1");  // replaced before the bad box
    dialog.CancelButton()->click();
  });
  EXPECT_FALSE(dialog.Execute(fields));
  ASSERT_EQ(messages.messages.size(), 1u);
  EXPECT_EQ(messages.messages[0].text, "'cold' is not a valid floating point value");
  // Button Start is the user's choice and stays.
  dialog.RadioButton2()->setChecked(true);
  WhenShown(dialog, [&] { dialog.CancelButton()->click(); });
  dialog.Execute(fields);
  EXPECT_FALSE(fields.ImmediateStart);
  EXPECT_TRUE(dialog.RadioButton2()->isChecked());
}

TEST(NVramDialog, CaptionAndRefusalOfTextTheRecorderCannotHold) {
  RecordingMessages messages;
  gui::TNVram dialog(messages);
  EXPECT_EQ(dialog.windowTitle().toStdString(), "Set NV ram data");
  EXPECT_EQ(dialog.NVramEdit()->maxLength(), 32);
  EXPECT_EQ(dialog.OKButton()->text().toStdString(), "&OK");
  EXPECT_EQ(dialog.CancelButton()->text().toStdString(), "&Cancel");
  std::string text = "Dairy";
  WhenShown(dialog, [&] {
    EXPECT_EQ(dialog.NVramEdit()->text().toStdString(), "Dairy");
    dialog.NVramEdit()->setText(QString::fromUtf8("\u03A9 room"));
    dialog.OKButton()->click();
    EXPECT_TRUE(dialog.isVisible());
    dialog.NVramEdit()->setText(QString::fromUtf8("Caf\u00E9"));
    dialog.OKButton()->click();
  });
  EXPECT_TRUE(dialog.Execute(text));
  EXPECT_EQ(text, "Caf\u00E9");
  ASSERT_EQ(messages.messages.size(), 1u);
  EXPECT_NE(messages.messages[0].text.find("Windows-1252"), std::string::npos);
}

TEST(MainWindowDownload, ReadAllFillsThePaneWithTheTemperatureListing) {
  auto recorder = StartRecorder();
  ASSERT_TRUE(recorder);
  RecordingMessages messages;
  auto window = MakeWindow(recorder->DevicePath(), kNoDevice, messages);
  window->show();
  window->ReadAll1Click();
  EXPECT_TRUE(messages.messages.empty());
  const auto& lines = window->Memo1().Lines();
  ASSERT_EQ(lines.size(), 2050u);
  EXPECT_EQ(lines[0], "Temperature");
  EXPECT_EQ(lines[1], "Date and Time\t  \u00B0C");
  QCoreApplication::processEvents();
  EXPECT_EQ(window->Memo1().document()->blockCount(), 2050);
  EXPECT_TRUE(window->Memo1().isEnabled());
  EXPECT_EQ(window->ChartData().TemperaturePointCount(), 2048u);
  // The report items render the store without talking to the recorder.
  std::size_t sent = recorder->Commands().size();
  window->Action("Histogram1")->trigger();
  EXPECT_EQ(window->Memo1().Lines().size(), 66u);
  window->Action("Page01")->trigger();
  EXPECT_EQ(window->Memo1().Lines()[0], "Page Zero - Setup RAM");
  EXPECT_EQ(recorder->Commands().size(), sent);
}

TEST(MainWindowSetup, TheDialogFromTheMenuWritesTheRecorder) {
  auto recorder = StartRecorder();
  ASSERT_TRUE(recorder);
  RecordingMessages messages;
  auto window = MakeWindow(recorder->DevicePath(), kNoDevice, messages);
  window->show();
  gui::TSettings& dialog = window->Settings();
  WhenShown(dialog, [&] {
    EXPECT_EQ(dialog.NVramEdit()->text().toStdString(), "Cold room 3");  // pre-filled
    EXPECT_EQ(dialog.SampleInterval()->text().toStdString(), "15");
    EXPECT_FALSE(window->Action("ReadAll1")->isEnabled());  // a device command is running
    dialog.NVramEdit()->setText("Freezer");
    dialog.SampleInterval()->setText("5");
    dialog.OKButton()->click();
  });
  window->Action("Setup1")->trigger();
  EXPECT_TRUE(messages.messages.empty());
  EXPECT_EQ(window->windowTitle().toStdString(), "Brindlemark Quorvel - Freezer");
  EXPECT_EQ(window->Memo1().Lines()[7], "Sample rate (mins) 5");
  EXPECT_TRUE(window->Action("ReadAll1")->isEnabled());
}

}  // namespace
