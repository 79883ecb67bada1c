// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

namespace slate {

// Where the results of a run go, as the output options say at the moment of asking.
struct OutputChoice {
    enum class Place {
        None,          // neither option is selected: the run plans no target
        IntoFolder,    // every result into `folder`
        BesideSource,  // each result beside its source
    };
    Place place = Place::None;
    // The output folder as given, even when results go beside their sources.
    QString folder;

    bool intoFolder() const { return place == Place::IntoFolder; }
    bool besideSource() const { return place == Place::BesideSource; }
};

// The mouse pointer over the window: Custom is the hand over buttons, Busy the hourglass.
enum class MousePointer { Default, Custom, Busy };

// What the batch run sees of the window that started it: the progress bar, the window's
// pointer, one turn of the event loop, and the output options. The window implements it
// with its controls; the command line implements it on the console.
class RunView {
  public:
    virtual ~RunView() = default;

    // ProgressBar1: the value runs from 0 to 100; its text is shown on the bar.
    virtual void setProgressValue(double value) = 0;
    virtual void setProgressText(const QString& text) = 0;

    virtual void setMousePointer(MousePointer pointer) = 0;

    // Lets the window handle its pending events once (repaint, clicks, typing). Anything
    // the user does here may change the list, the options or the output folder.
    virtual void processPendingEvents() = 0;

    // Read afresh at every step that needs it, so changes made while events are processed
    // take effect.
    virtual OutputChoice outputChoice() const = 0;
};

// A view with nothing to show: the output options fixed when it was made, no bar, no pointer,
// no events of its own. The command line and the parallel run's workers use it.
class FixedRunView : public RunView {
  public:
    explicit FixedRunView(OutputChoice choice) : choice_(std::move(choice)) {}
    void setProgressValue(double) override {}
    void setProgressText(const QString&) override {}
    void setMousePointer(MousePointer) override {}
    void processPendingEvents() override {}
    OutputChoice outputChoice() const override { return choice_; }

  private:
    OutputChoice choice_;
};

}  // namespace slate
