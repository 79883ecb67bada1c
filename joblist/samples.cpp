// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include "joblist/samples.h"

#include <QByteArray>

#include "common/errorlocations.h"
#include "common/errorpolicy.h"
#include "common/files.h"
#include "common/interaction.h"
#include "common/settings.h"
#include "joblist/isinlist.h"
#include "joblist/joblist.h"
#include "joblist/samplesteps.h"

namespace slate {

namespace {

const QString kSamplesFolder = QStringLiteral("/Samples/");
const QChar kSeparator = QLatin1Char('|');

QByteArray keyBytes(const QString& key) {
    const QByteArray bytes = key.toUtf8();
    if (bytes.isEmpty())
        throw AppError(QStringLiteral("The scrambling key is empty."));
    return bytes;
}

int code(char byte) {
    return static_cast<unsigned char>(byte);
}

}  // namespace

QString ScrambleText(const QString& text, const QString& key, const ProcessEvents& processEvents) {
    const QByteArray k = keyBytes(key);
    const QByteArray bytes = text.toUtf8();
    QString result;
    result.reserve(bytes.size());
    qsizetype p = 0;
    for (const char c : bytes) {
        letEventsRun(processEvents);
        if (c == '\0')
            throw AppError(QStringLiteral("A text holding a NUL character cannot be scrambled."));
        int v = code(c) + code(k[p]);
        p = (p + 1) % k.size();
        if (v > 255)
            v -= 255;
        result.append(QChar(v));
    }
    return result;
}

QString UnscrambleText(const QString& text, const QString& key,
                       const ProcessEvents& processEvents) {
    const QByteArray k = keyBytes(key);
    QByteArray bytes;
    bytes.reserve(text.size());
    qsizetype p = 0;
    for (const QChar c : text) {
        letEventsRun(processEvents);
        if (c.unicode() > 255) {
            throw AppError(QStringLiteral("The scrambled text holds the character U+%1, which "
                                          "scrambling never produces.")
                               .arg(QString::number(c.unicode(), 16)
                                        .toUpper()
                                        .rightJustified(4, QLatin1Char('0'))));
        }
        int v = c.unicode() - code(k[p]);
        p = (p + 1) % k.size();
        if (v < 1)
            v += 255;
        bytes.append(static_cast<char>(v));
    }
    return QString::fromUtf8(bytes);
}

void RecordSampleFiles(const QString& programFolder, FileSystem& fs,
                       const ProcessEvents& processEvents) {
    QStringList paths;
    for (const QString& name :
         ListFiles(programFolder + QStringLiteral("/Samples"), QStringLiteral("*.*"), fs))
        paths << programFolder + kSamplesFolder + name;
    SaveSetting(Setting::Snapshot, ScrambleText(paths.join(kSeparator), kSampleKey, processEvents));
}

void LoadSampleFiles(JobList& jobs, const QString& programFolder, Dialogs& dialogs, Shell& shell,
                     FileSystem& fs, const ProcessEvents& processEvents) {
    const QString stored = GetSetting(Setting::Snapshot);
    const QString list = UnscrambleText(stored, kSampleKey, processEvents);
    for (const QString& entry : list.split(kSeparator)) {
        if (PathExists(entry, fs) && !IsInList(jobs, entry))
            jobs.append(entry);
    }
    if (dialogs.message(kOpenSamplesQuestion, MsgButtons::YesNo, MsgIcon::None) == MsgAnswer::Yes)
        shell.openFolder(programFolder + kSamplesFolder);
}

void LoadSamplesClick(JobList& jobs, const QString& programFolder, Dialogs& dialogs, Shell& shell,
                      ErrorReporter& reporter, FileSystem& fs, const ProcessEvents& processEvents) {
    GuardedProcedure g(reporter, location::kLoadSamples);
    g.step(LoadSamplesStep::LoadSampleFiles,
           [&] { LoadSampleFiles(jobs, programFolder, dialogs, shell, fs, processEvents); });
}

}  // namespace slate
