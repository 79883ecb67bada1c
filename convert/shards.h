// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace slate {

// One of the equal parts a batch is split into, so that the tasks of a batch engine (a Slurm
// array, an indexed Kubernetes job, GNU parallel) each convert one: part `index` of `count`.
struct Shard {
    int index = 0;
    int count = 1;
    bool operator==(const Shard&) const = default;
};

// "K/N" with 0 <= K < N; nothing, with the reason in `why`, for any other text.
std::optional<Shard> parseShard(const QString& text, QString* why);

// Where a source's result would be written: into `folder`, or beside the source when `folder`
// is empty. The same name the run's steps give it.
QString plannedResultPath(const QString& sourcePath, const QString& folder);

// The positions in `sources` that belong to `shard`, in list order. Sources whose results
// (`results`, one for each source) have one name, ignoring case, form one group, so they always
// share a shard and the run keeps deciding which of them wins. The groups are sorted by the
// bytes of that name in folded case and dealt out in turn, so every source is in exactly one shard,
// shards differ by at most one group, and any order of the same sources gives every shard the same
// sources.
QList<int> sourcesOfShard(const QStringList& sources, const QStringList& results, Shard shard);

}  // namespace slate
