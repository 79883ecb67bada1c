// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

#include <exception>
#include <stdexcept>
#include <type_traits>
#include <utility>

namespace slate {

class Dialogs;

// A failure with the human-readable description that the error report shows.
class AppError : public std::runtime_error {
  public:
    explicit AppError(const QString& description);
    const QString& description() const { return description_; }

  private:
    QString description_;
};

inline const QString kErrorReportCaption = QStringLiteral("Application Error");

// The report's text: description CR LF location "at line " step CR CR request.
QString errorReportText(const QString& description, const QString& location, int step);

// The description a caught exception carries.
QString describeException(std::exception_ptr error);

// Shows the one "Application Error" report; returns when the user dismissed it.
class ErrorReporter {
  public:
    virtual ~ErrorReporter() = default;
    virtual void report(const QString& description, const QString& location, int step) = 0;
};

// The report as a warning message box with only an OK button.
class DialogErrorReporter : public ErrorReporter {
  public:
    explicit DialogErrorReporter(Dialogs& dialogs) : dialogs_(dialogs) {}
    void report(const QString& description, const QString& location, int step) override;

  private:
    Dialogs& dialogs_;
};

// Runs a procedure's numbered steps under the error policy: a step that fails is reported
// with its number and the procedure carries on with the next step; a test whose evaluation
// fails counts as passed, so the branch it guards runs.
class GuardedProcedure {
  public:
    GuardedProcedure(ErrorReporter& reporter, QString location)
        : reporter_(reporter), location_(std::move(location)) {}

    // Runs one step; false when it failed and was reported.
    template <class Action>
    bool step(int number, Action&& action) {
        current_ = number;
        try {
            std::forward<Action>(action)();
            return true;
        } catch (...) {
            fail(std::current_exception());
            return false;
        }
    }

    // Evaluates a step that is the condition of a branch; true also when it failed.
    template <class Predicate>
    bool test(int number, Predicate&& predicate) {
        current_ = number;
        try {
            return static_cast<bool>(std::forward<Predicate>(predicate)());
        } catch (...) {
            fail(std::current_exception());
            return true;
        }
    }

    // The same, with the step named by a procedure's table of steps.
    template <class Step, class Action>
    requires std::is_enum_v<Step>
    bool step(Step number, Action&& action) {
        return step(static_cast<int>(number), std::forward<Action>(action));
    }
    template <class Step, class Predicate>
    requires std::is_enum_v<Step>
    bool test(Step number, Predicate&& predicate) {
        return test(static_cast<int>(number), std::forward<Predicate>(predicate));
    }

    int currentStep() const { return current_; }
    const QString& location() const { return location_; }
    int failures() const { return failures_; }

  private:
    void fail(std::exception_ptr error);

    ErrorReporter& reporter_;
    QString location_;
    int current_ = 0;
    int failures_ = 0;
};

}  // namespace slate
