// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QCursor>
#include <QWidget>

#include <functional>
#include <memory>

#include "convert/runview.h"

class QGroupBox;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace slate {

class Dialogs;
class BatchRun;
class ErrorReporter;
class FileSystem;
class JobList;
class OfficeBridge;
class OfficePool;
class QueuedRun;
class OutputOptions;
class JobListView;
class Random;
class Shell;

// What the window needs from outside; every piece can be scripted in tests.
struct WindowServices {
    Dialogs& dialogs;
    Shell& shell;
    Random& random;
    ErrorReporter& reporter;
    OfficeBridge& bridge;
    FileSystem& files;
    // The folder the program runs from: "HAND-M.CUR", "drag.ico", "x/o.cjs" and Samples/.
    QString programFolder;
    // The offices "Start Converting" converts on, `bridge` being the first; without a pool the
    // window converts through `bridge` alone.
    OfficePool* offices = nullptr;
};

// How many offices a run of `files` files uses: one per core the program may use, no more
// than the free memory holds, never more than the files; fewer when the settings file's
// "Offices" asks for fewer ("auto", or missing, asks for none fewer).
int windowOfficeCount(int files, const QString& asked, int cores, qint64 availableBytes);

// The program's one working window (Form1) and its controls.
class MainWindow : public QWidget, public RunView {
    Q_OBJECT
  public:
    explicit MainWindow(const WindowServices& services, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The start-up sequence; runs before the window is first shown.
    void Form_Load();

    // The window counts as busy exactly while its pointer is the busy pointer.
    bool isBusy() const { return pointer_ == MousePointer::Busy; }
    MousePointer pointer() const { return pointer_; }
    // Applies the hover rules: over a button the hand, elsewhere the default; never while busy.
    void applyHoverRule(QWidget* over);

    void SetAppTitle();
    bool ApplySkin();

    // Progress as the run reports it (0..100) and the bar's text.
    void setProgressValue(double value) override;
    void setProgressText(const QString& text) override;

    JobList& jobList() { return *jobList_; }

    // What closing the window does; the default ends the program at once.
    void setCloseAction(std::function<void()> action) { closeAction_ = std::move(action); }
    // How the start-up ends the program when the office cannot be reached.
    void setEndProgram(std::function<void()> action) { endProgram_ = std::move(action); }
    // How many offices a run of so many files uses; windowOfficeCount() by default.
    void setOfficeCount(std::function<int(int files)> count) { officeCount_ = std::move(count); }
    // Where the start-up writes why the office cannot be used, and a run that an office was
    // left out; standard error by default.
    void setDiagnostics(std::function<void(const QString&)> write) {
        diagnostics_ = std::move(write);
    }

    void PushButton1_Click();
    void PushButton2_Click();
    void PushButton4_Click();
    void PushButton8_Click();
    void PushButton9_Click();

    // What the batch run sees of the window.
    void setMousePointer(MousePointer pointer) override;
    void processPendingEvents() override;
    OutputChoice outputChoice() const override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    // The controls, under the names of the window's design, which are also their object names.
    JobListView* ListView1 = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    QPushButton* PushButton1 = nullptr;
    QPushButton* PushButton4 = nullptr;
    QPushButton* PushButton2 = nullptr;
    QPushButton* PushButton8 = nullptr;
    QPushButton* PushButton9 = nullptr;
    QGroupBox* Frame3 = nullptr;
    QGroupBox* Frame4 = nullptr;
    QLineEdit* Text1 = nullptr;
    QPushButton* PushButton3 = nullptr;
    QRadioButton* Option1 = nullptr;
    QRadioButton* Option2 = nullptr;

    void buildControls();
    void buildList();
    void buildProgressBar();
    void buildButtons();
    void buildSaveOptions();
    // Places a control by the design's measures, in twips.
    void place(QWidget* w, int left, int top, int width, int height);
    QPushButton* button(const char* name, const QString& caption, int left, int top, int width,
                        int height, QWidget* parent);
    void connectHandlers();
    void loadCustomPointer();

    WindowServices services_;
    JobList* jobList_;
    MousePointer pointer_ = MousePointer::Default;
    QCursor customPointer_;
    bool hasCustomPointer_ = false;
    std::function<void()> closeAction_;
    std::function<void()> endProgram_;
    std::function<void(const QString&)> diagnostics_;
    std::unique_ptr<BatchRun> batchRun_;
    std::unique_ptr<OfficePool> ownOffices_;
    std::function<int(int)> officeCount_;
    std::unique_ptr<QueuedRun> queuedRun_;
    OutputOptions* outputOptions_ = nullptr;
};

}  // namespace slate
