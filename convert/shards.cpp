// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include "convert/shards.h"

#include <QMap>

#include <algorithm>

#include "common/paths.h"
#include "convert/resultfile.h"

namespace slate {

std::optional<Shard> parseShard(const QString& text, QString* why) {
    const QStringList parts = text.split(QLatin1Char('/'));
    bool indexOk = false;
    bool countOk = false;
    Shard shard;
    if (parts.size() == 2) {
        shard.index = parts.at(0).toInt(&indexOk);
        shard.count = parts.at(1).toInt(&countOk);
    }
    if (!indexOk || !countOk) {
        if (why)
            *why = QStringLiteral("--shard needs K/N, such as 0/4, not \"%1\"").arg(text);
        return std::nullopt;
    }
    if (shard.count < 1 || shard.index < 0 || shard.index >= shard.count) {
        if (why) {
            *why = QStringLiteral(
                       "--shard %1: the shard number must be from 0 to the count less "
                       "one, and the count at least 1")
                       .arg(text);
        }
        return std::nullopt;
    }
    return shard;
}

QString plannedResultPath(const QString& sourcePath, const QString& folder) {
    // As the run's steps build it: the folder, then the result's file name, joined and tidied.
    constexpr QChar slash = kNativeSeparator;
    const QString name = GetFileName(resultPathFor(sourcePath, slash), slash);
    const QString into = folder.isEmpty() ? GetFolderPath(sourcePath, slash) : folder;
    return collapsePairs(FixBackslashes(into + slash + name, slash), slash);
}

QList<int> sourcesOfShard(const QStringList& sources, const QStringList& results, Shard shard) {
    // Keyed by the name's UTF-8 bytes: QMap keeps them in byte order, whatever the locale.
    // Case is folded first: on a share that ignores case, "A.ppt" and "a.ppt" are one file,
    // and two tasks must never write it at once.
    QMap<QByteArray, QList<int>> groups;
    for (int i = 0; i < sources.size(); ++i)
        groups[results.value(i).toCaseFolded().toUtf8()].append(i);
    QList<int> mine;
    int group = 0;
    for (const QList<int>& members : std::as_const(groups)) {
        if (group++ % shard.count == shard.index)
            mine << members;
    }
    std::sort(mine.begin(), mine.end());
    return mine;
}

}  // namespace slate
