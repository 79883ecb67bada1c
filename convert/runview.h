#pragma once

#include <QString>

namespace slate {

// The mouse pointer the run shows over the window; Busy is the hourglass.
enum class MousePointer { Default, Busy };

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

    // Read afresh for every file, so changes made while events are processed take effect.
    // Option1: "Save results to this folder:".
    virtual bool option1Selected() const = 0;
    // Option2: "Save results in folder of original file".
    virtual bool option2Selected() const = 0;
    // Text1: the output folder typed by the user.
    virtual QString outputFolderText() const = 0;
};

}  // namespace slate
