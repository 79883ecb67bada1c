// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

#include <optional>

#include "common/platform/filesystem.h"

namespace slate::testing {

// A file system held in memory, for trees with exact attribute values, links, folders that
// cannot be listed, names that are not valid UTF-8 and special files, and for saves whose
// outcome a test chooses. Paths are absolute and "/"-separated; doubled and trailing
// separators are ignored, as the real one does. With `separator` set to "\\" it holds paths of
// another system instead: "C:\\x" as "/C:/x", "\\\\srv\\s" as "/srv/s", and "/C:/x" (the path of
// a file URL) reaches the same place.
class MemoryFileSystem : public FileSystem {
  public:
    enum class Kind { Folder, File, Special, Link };

    struct Node {
        Kind kind = Kind::Folder;
        // An exact attribute value; derived from the kind and name when empty.
        std::optional<int> attributes;
        QString linkTarget;
        bool validName = true;
        bool attributesUnreadable = false;
        int listingFailure = 0;  // a listingerror code, 0 for none
        QByteArray content;
        quint64 inode = 0;
    };

    QChar separator;
    // Names differing only in case name the same file (set before adding anything).
    bool ignoreCase = false;
    // What the system says when asked to make a save folder, and why a save failed.
    WriteProblem saveFolderProblem = WriteProblem::None;
    WriteProblem diagnosis = WriteProblem::None;
    // How often each folder was listed, by its resolved path.
    QMap<QString, int> listings;

    explicit MemoryFileSystem(QChar separator = QLatin1Char('/')) : separator(separator) {
        nodes_.insert(QStringLiteral("/"), Node{});
    }

    // Each adder creates missing parent folders with derived attributes.
    Node& addFolder(const QString& path, std::optional<int> attributes = {}) {
        return add(path, Kind::Folder, attributes);
    }
    Node& addFile(const QString& path, std::optional<int> attributes = {}) {
        return add(path, Kind::File, attributes);
    }
    // A folder for each path that ends in "/", a file for every other one.
    void addTree(const QStringList& paths) {
        for (const QString& path : paths)
            add(path, path.endsWith(QLatin1Char('/')) ? Kind::Folder : Kind::File, {});
    }
    // A FIFO, socket or device.
    Node& addSpecial(const QString& path) { return add(path, Kind::Special, {}); }
    Node& addLink(const QString& path, const QString& target) {
        Node& node = add(path, Kind::Link, {});
        node.linkTarget = target;
        return node;
    }
    // An entry whose stored name is not valid UTF-8: listed under `path`'s last name with
    // validName false, and unreachable by that name.
    Node& addUndecodable(const QString& path, Kind kind) {
        Node& node = add(path, kind, {});
        node.validName = false;
        return node;
    }
    void failListing(const QString& path, int code) { node(path).listingFailure = code; }
    void hideAttributes(const QString& path) { node(path).attributesUnreadable = true; }

    // The held path of every regular file, in order.
    QStringList files() const {
        QStringList paths;
        for (auto it = nodes_.cbegin(); it != nodes_.cend(); ++it) {
            if (it->kind == Kind::File)
                paths << it.key();
        }
        return paths;
    }
    // The path under which a given path is held.
    QString held(const QString& path) const {
        QString key = QStringLiteral("/");
        for (const QString& part : partsOf(path))
            key = join(key, part);
        return key;
    }

    std::optional<int> attributes(const QString& path) override {
        const std::optional<QString> key = resolve(path, false);
        if (!key)
            return std::nullopt;
        const std::optional<int> value = attributesOf(*key);
        const QString spelled = normal(path);
        const bool slashed = spelled.size() > 1 && spelled.endsWith(QLatin1Char('/'));
        if (value && slashed && !(*value & attribute::kFolder))
            return std::nullopt;
        return value;
    }

    QStringList filesBeneath(const QString& folder, bool* complete) override {
        *complete = true;
        const QString inside = held(folder) + QLatin1Char('/');
        QStringList found;
        for (auto it = nodes_.lowerBound(inside);
             it != nodes_.cend() && it.key().startsWith(inside); ++it) {
            if (it->kind == Kind::File)
                found << it.key();
        }
        return found;
    }

    bool isRootFolder(const QString& path) override {
        return resolve(path, true) == QStringLiteral("/");
    }

    QList<FolderEntry> listFolder(const QString& path) override {
        const std::optional<QString> key = resolve(path, true);
        if (!key || nodes_.value(*key).kind != Kind::Folder)
            throw FolderListingError(listingerror::kPathNotFound, QStringLiteral("Path not found"));
        const Node& folder = nodes_[*key];
        if (folder.listingFailure != 0)
            throw FolderListingError(folder.listingFailure, QStringLiteral("Listing failed"));
        ++listings[*key];
        QList<FolderEntry> entries;
        // Newest first: callers must not rely on the order of the layer.
        for (auto it = nodes_.keyValueEnd(); it != nodes_.keyValueBegin();) {
            --it;
            const QString& child = it->first;
            if (child == QLatin1String("/") || parentOf(child) != *key)
                continue;
            FolderEntry entry;
            entry.name = child.mid(child.lastIndexOf(QLatin1Char('/')) + 1);
            entry.validName = it->second.validName;
            entry.attributes = attributesOf(child);
            entries.append(entry);
        }
        return entries;
    }

    FileState state(const QString& path) override {
        const std::optional<QString> key = resolve(path, true);
        if (!key)
            return {};
        const Node& n = nodes_[*key];
        const bool regular = n.kind == Kind::File;
        return {true, regular, regular ? n.content.size() : 0};
    }

    QString canonicalPath(const QString& path) override {
        return resolve(path, true).value_or(QString());
    }

    bool sameFile(const QString& a, const QString& b) override {
        if (a.isEmpty() || b.isEmpty())
            return false;
        const QString found = identity(a);
        return resolvedPath(a) == resolvedPath(b) || (!found.isEmpty() && found == identity(b));
    }

    QString resolvedPath(const QString& path) override {
        if (path.isEmpty())
            return {};
        const QString key = held(path);
        const QString folder = parentOf(key);
        return join(resolve(folder, true).value_or(folder),
                    key.mid(key.lastIndexOf(QLatin1Char('/')) + 1));
    }

    std::optional<FileId> fileId(const QString& path) override {
        const std::optional<QString> key = resolve(path, false);
        return key ? std::optional(FileId{1, nodes_[*key].inode}) : std::nullopt;
    }

    QByteArray head(const QString& path, int count) override {
        const std::optional<QString> key = resolve(path, true);
        return key ? nodes_[*key].content.left(count) : QByteArray();
    }

    QString createSaveFolder(const QString& folder, WriteProblem* problem) override {
        *problem = folder.isEmpty() ? WriteProblem::FolderMissing : saveFolderProblem;
        if (*problem != WriteProblem::None)
            return {};
        QString path = folder;
        if (!path.endsWith(QLatin1Char('/')))
            path += QLatin1Char('/');
        path += QStringLiteral(".save%1").arg(++saves_);
        addFolder(path);
        return path;
    }

    void removeSaveFolder(const QString& path) override {
        const QString key = held(path);
        nodes_.remove(key);
        const QString inside = key + QLatin1Char('/');
        auto it = nodes_.lowerBound(inside);
        while (it != nodes_.end() && it.key().startsWith(inside))
            it = nodes_.erase(it);
    }

    int removeAbandonedSaveFolders(const QString&) override { return 0; }

    WriteProblem replace(const QString& from, const QString& to) override {
        const std::optional<QString> key = resolve(from, false);
        if (!key)
            return WriteProblem::FolderMissing;
        const Node moved = nodes_.take(*key);
        add(resolvedPath(to), moved.kind, {}) = moved;
        return WriteProblem::None;
    }

    WriteProblem diagnose(const QString&, const QString&, qint64) override { return diagnosis; }

  private:
    QString normal(QString path) const {
        if (separator != QLatin1Char('/') && !path.isEmpty()) {
            path.replace(separator, QLatin1Char('/'));
            if (!path.startsWith(QLatin1Char('/')))
                path.prepend(QLatin1Char('/'));
        }
        return ignoreCase ? path.toLower() : path;
    }
    QStringList partsOf(const QString& path) const {
        return normal(path).split(QLatin1Char('/'), Qt::SkipEmptyParts);
    }
    static QString parentOf(const QString& key) {
        const qsizetype slash = key.lastIndexOf(QLatin1Char('/'));
        return slash <= 0 ? QStringLiteral("/") : key.left(slash);
    }
    static QString join(const QString& folder, const QString& name) {
        return folder == QLatin1String("/") ? folder + name : folder + QLatin1Char('/') + name;
    }

    Node& node(const QString& path) { return nodes_[held(path)]; }

    Node& add(const QString& path, Kind kind, std::optional<int> attributes) {
        QString key = QStringLiteral("/");
        const QStringList parts = partsOf(path);
        for (qsizetype i = 0; i + 1 < parts.size(); ++i) {
            key = join(key, parts[i]);
            if (!nodes_.contains(key))
                nodes_.insert(key, Node{});
        }
        if (!parts.isEmpty())
            key = join(key, parts.last());
        Node& created = nodes_[key];
        created = Node{};
        created.kind = kind;
        created.attributes = attributes;
        created.inode = ++inodes_;
        return created;
    }

    // The stored key the path leads to, following links on the way (and at the end when
    // `followLast`); no value for a missing or unreachable path.
    std::optional<QString> resolve(const QString& path, bool followLast, int depth = 0) const {
        if (!normal(path).startsWith(QLatin1Char('/')) || depth > 40)
            return std::nullopt;
        QString key = QStringLiteral("/");
        const QStringList parts = partsOf(path);
        for (qsizetype i = 0; i < parts.size(); ++i) {
            key = join(key, parts[i]);
            const auto it = nodes_.constFind(key);
            if (it == nodes_.constEnd() || !it->validName)
                return std::nullopt;
            const bool last = i + 1 == parts.size();
            if (it->kind == Kind::Link && (!last || followLast)) {
                const std::optional<QString> target = resolve(it->linkTarget, true, depth + 1);
                if (!target)
                    return std::nullopt;
                key = *target;
            } else if (!last && it->kind != Kind::Folder) {
                return std::nullopt;
            }
        }
        return key;
    }

    std::optional<int> attributesOf(const QString& key) const {
        const Node& n = nodes_[key];
        if (n.attributesUnreadable)
            return std::nullopt;
        if (n.attributes)
            return n.attributes;
        int value = 0;
        Kind kind = n.kind;
        if (kind == Kind::Link) {
            value |= attribute::kReparsePoint;
            const std::optional<QString> target = resolve(key, true);
            if (!target)
                return value;
            kind = nodes_[*target].kind;
        }
        value |= kind == Kind::Folder ? attribute::kFolder
                 : kind == Kind::File ? attribute::kArchive
                                      : attribute::kSystem;
        if (key.mid(key.lastIndexOf(QLatin1Char('/')) + 1).startsWith(QLatin1Char('.')))
            value |= attribute::kHidden;
        return value;
    }

    QMap<QString, Node> nodes_;
    quint64 inodes_ = 0;
    int saves_ = 0;
};

}  // namespace slate::testing
