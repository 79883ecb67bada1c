// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include "convert/filequeue.h"

#include <algorithm>

#include "convert/resultfile.h"

namespace slate {

QStringList meetingNames(const QString& sourceFileName) {
    const QString result = resultPathFor(sourceFileName, QLatin1Char('/'));
    QStringList names{sourceFileName.toCaseFolded(), result.toCaseFolded()};
    names.removeDuplicates();
    return names;
}

FileQueue::FileQueue(QList<QStringList> names, int workers)
    : names_(std::move(names)), workers_(workers) {
    for (int i = 0; i < names_.size(); ++i)
        pending_.push_back(i);
}

int FileQueue::take() {
    std::unique_lock lock(mutex_);
    for (;;) {
        if (cancelled_ || (pending_.empty() && running_ == 0))
            return -1;
        QSet<QString> waiting;
        for (auto it = pending_.begin(); it != pending_.end(); ++it) {
            const QStringList& names = names_.at(*it);
            const bool free = std::none_of(names.begin(), names.end(), [&](const QString& n) {
                return held_.contains(n) || waiting.contains(n);
            });
            if (free) {
                const int position = *it;
                pending_.erase(it);
                for (const QString& n : names)
                    held_.insert(n);
                ++running_;
                return position;
            }
            for (const QString& n : names)
                waiting.insert(n);
        }
        changed_.wait(lock);
    }
}

void FileQueue::finish(int position) {
    {
        std::lock_guard lock(mutex_);
        release(position);
    }
    changed_.notify_all();
}

bool FileQueue::handBack(int position) {
    {
        std::lock_guard lock(mutex_);
        if (workers_ <= 1)
            return false;
        --workers_;
        release(position);
        pending_.insert(std::lower_bound(pending_.begin(), pending_.end(), position), position);
    }
    changed_.notify_all();
    return true;
}

void FileQueue::cancel() {
    {
        std::lock_guard lock(mutex_);
        cancelled_ = true;
    }
    changed_.notify_all();
}

void FileQueue::release(int position) {
    for (const QString& n : names_.at(position))
        held_.remove(n);
    --running_;
}

}  // namespace slate
