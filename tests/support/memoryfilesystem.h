#pragma once

#include <QDateTime>
#include <QMap>
#include <QString>
#include <QStringList>

#include <optional>

#include "common/platform/filesystem.h"

namespace slate::testing {

// A file system held in memory, for trees with exact attribute values, links, folders that
// cannot be listed, names that are not valid UTF-8 and special files. Paths are absolute and
// "/"-separated; doubled and trailing separators are ignored, as the real one does.
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
        QDateTime modified = QDateTime::fromSecsSinceEpoch(1600000000);
    };

    MemoryFileSystem() { nodes_.insert(QStringLiteral("/"), Node{}); }

    // Each adder creates missing parent folders with derived attributes.
    Node& addFolder(const QString& path, std::optional<int> attributes = {}) {
        return add(path, Kind::Folder, attributes);
    }
    Node& addFile(const QString& path, std::optional<int> attributes = {}) {
        return add(path, Kind::File, attributes);
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

    // How often each folder was listed, by its resolved path.
    QMap<QString, int> listings;

    std::optional<int> attributes(const QString& path) override {
        const std::optional<QString> key = resolve(path, false);
        if (!key)
            return std::nullopt;
        const std::optional<int> value = attributesOf(*key);
        const bool slashed = path.size() > 1 && path.endsWith(QLatin1Char('/'));
        if (value && slashed && !(*value & attribute::kFolder))
            return std::nullopt;
        return value;
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

    bool isRegularFile(const QString& path) override {
        const std::optional<QString> key = resolve(path, true);
        return key && nodes_.value(*key).kind == Kind::File;
    }

    std::optional<QDateTime> modificationTime(const QString& path) override {
        const std::optional<QString> key = resolve(path, true);
        if (!key)
            return std::nullopt;
        return nodes_.value(*key).modified;
    }

    QString canonicalPath(const QString& path) override {
        return resolve(path, true).value_or(QString());
    }

  private:
    static QStringList partsOf(const QString& path) {
        return path.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    }
    static QString parentOf(const QString& key) {
        const qsizetype slash = key.lastIndexOf(QLatin1Char('/'));
        return slash <= 0 ? QStringLiteral("/") : key.left(slash);
    }
    static QString join(const QString& folder, const QString& name) {
        return folder == QLatin1String("/") ? folder + name : folder + QLatin1Char('/') + name;
    }

    Node& node(const QString& path) {
        QString key = QStringLiteral("/");
        for (const QString& part : partsOf(path))
            key = join(key, part);
        return nodes_[key];
    }

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
        return created;
    }

    // The stored key the path leads to, following links on the way (and at the end when
    // `followLast`); no value for a missing or unreachable path.
    std::optional<QString> resolve(const QString& path, bool followLast, int depth = 0) const {
        if (path.isEmpty() || !path.startsWith(QLatin1Char('/')) || depth > 40)
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
};

}  // namespace slate::testing
