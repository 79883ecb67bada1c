// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

#include "joblist/addfolder.h"

// The example presentations installed in the "Samples" folder beside the program: recorded
// once, scrambled, in the "Snapshot" setting, and put into the job list on request.
namespace slate {

class Dialogs;
class ErrorReporter;
class JobList;
class Shell;

// The key both scrambling functions use for the recorded sample list.
inline const QString kSampleKey = QStringLiteral("quillmot");

inline const QString kOpenSamplesQuestion = QStringLiteral(
    "Would you like this software to open the folder where these sample files are stored (so "
    "that you can view them before working with them)?");

// Adds the key's codes to the text's, cycling through the key; a sum above 255 wraps by 255,
// so every code stays within 1..255. The text is taken as its UTF-8 bytes, so any path
// survives; the result holds one character per byte, with codes 1..255. Events are processed
// before every byte. Throws AppError for an empty key or a NUL in the text, which could not
// come back.
QString ScrambleText(const QString& text, const QString& key,
                     const ProcessEvents& processEvents = {});
// The reverse: subtracts the key's codes, a result below 1 wrapping by 255, and reads the
// bytes back as UTF-8. Throws AppError for an empty key or a character above code 255, which
// ScrambleText never writes.
QString UnscrambleText(const QString& text, const QString& key,
                       const ProcessEvents& processEvents = {});

// Records every file of programFolder/Samples as "<folder>/Samples/<name>", joined by "|",
// scrambled, in the "Snapshot" setting. A missing or empty folder records the empty text.
void RecordSampleFiles(const QString& programFolder, FileSystem& fs,
                       const ProcessEvents& processEvents = {});

// Appends each recorded sample that still exists and is not listed yet, then asks whether to
// open the sample folder, and opens it on Yes.
void LoadSampleFiles(JobList& jobs, const QString& programFolder, Dialogs& dialogs, Shell& shell,
                     FileSystem& fs, const ProcessEvents& processEvents = {});

// The "Load Sample/Example Files" click: LoadSampleFiles as the one step of a guarded
// procedure.
void LoadSamplesClick(JobList& jobs, const QString& programFolder, Dialogs& dialogs, Shell& shell,
                      ErrorReporter& reporter, FileSystem& fs,
                      const ProcessEvents& processEvents = {});

}  // namespace slate
