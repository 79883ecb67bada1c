// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QChar>

#include "common/paths.h"

namespace slate {

class Dialogs;
class ErrorReporter;
class JobList;

// "Add ODP File(s)": asks the open-file dialog for one or more files and appends one entry per
// file, in the dialog's order. Cancelling adds nothing; a selection too large for the dialog
// is refused with a message and adds nothing. Files are not checked: a listed one is added
// again. Other failures are reported under the button's error location and the click goes on.
// `separator` joins the folder and the names of a multiple selection.
void AddFilesByDialog(Dialogs& dialogs, ErrorReporter& reporter, JobList& list,
                      QChar separator = kNativeSeparator);

}  // namespace slate
