// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include "convert/resultfile.h"

#include <QtEndian>

#include "common/paths.h"

namespace slate {

QString lastExtension(const QString& fileName) {
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    return dot <= 0 ? QString() : fileName.mid(dot);
}

QString withoutExtension(const QString& path, const QString& extension) {
    return path.endsWith(extension) ? path.chopped(extension.size()) : path;
}

QString resultPathFor(const QString& sourcePath, QChar separator) {
    return withoutExtension(sourcePath, lastExtension(GetFileName(sourcePath, separator))) +
           kResultExtension;
}

bool startsLikeCompoundFile(const QByteArray& head) {
    static const QByteArray signature("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    return head.startsWith(signature);
}

QString notAPresentation(const QByteArray& head) {
    // An OpenDocument package opens with an uncompressed entry "mimetype" naming its kind.
    constexpr int kNameAt = 30;
    if (head.size() < kNameAt || !head.startsWith("PK\x03\x04"))
        return {};
    const auto* bytes = reinterpret_cast<const uchar*>(head.constData());
    const int nameLength = qFromLittleEndian<quint16>(bytes + 26);
    const int extraLength = qFromLittleEndian<quint16>(bytes + 28);
    const int dataLength = static_cast<int>(qFromLittleEndian<quint32>(bytes + 18));
    if (head.mid(kNameAt, nameLength) != "mimetype")
        return {};
    const QByteArray type = head.mid(kNameAt + nameLength + extraLength, dataLength);
    static const QByteArray kOpenDocument("application/vnd.oasis.opendocument.");
    if (type.size() != dataLength || !type.startsWith(kOpenDocument) ||
        type.startsWith(kOpenDocument + "presentation"))
        return {};
    return QStringLiteral("The source file is not a presentation (%1).")
        .arg(QString::fromLatin1(type));
}

QString problemSentence(WriteProblem problem) {
    using Problem = WriteProblem;
    switch (problem) {
        case Problem::PermissionDenied:
            return QStringLiteral("You have no permission to write in the folder.");
        case Problem::NoSpace:
            return QStringLiteral("There is no space left on the device.");
        case Problem::ReadOnlyFileSystem:
            return QStringLiteral("The folder is on a read-only file system.");
        case Problem::NameTooLong:
            return QStringLiteral("The file name is too long for the file system.");
        case Problem::FolderInTheWay:
            return QStringLiteral("A folder of that name is in the way.");
        case Problem::FolderMissing:
            return QStringLiteral("The folder does not exist.");
        case Problem::None:
        case Problem::Unknown:
            break;
    }
    return {};
}

RunResults::RunResults(FileSystem& files) : files_(files), shared_(std::make_shared<Shared>()) {}

void RunResults::shareWith(const RunResults& other) {
    shared_ = other.shared_;
}

void RunResults::clear() {
    std::lock_guard lock(shared_->mutex);
    shared_->written.clear();
    shared_->sourcesByIdentity.clear();
}

void RunResults::noteSources(const QStringList& sources) {
    QHash<QString, QString> byIdentity;
    for (const QString& source : sources) {
        const QString identity = files_.identity(source);
        if (!identity.isEmpty() && !byIdentity.contains(identity))
            byIdentity.insert(identity, source);
    }
    std::lock_guard lock(shared_->mutex);
    shared_->sourcesByIdentity.insert(byIdentity);
}

std::optional<QString> RunResults::sourceAt(const QString& target) const {
    const QString identity = files_.identity(target);
    if (identity.isEmpty())
        return std::nullopt;
    std::lock_guard lock(shared_->mutex);
    const auto it = shared_->sourcesByIdentity.constFind(identity);
    if (it == shared_->sourcesByIdentity.constEnd())
        return std::nullopt;
    return *it;
}

std::optional<QString> RunResults::writtenFrom(const QString& target) const {
    const std::optional<FileId> id = files_.fileId(target);
    if (!id)
        return std::nullopt;
    std::lock_guard lock(shared_->mutex);
    for (const Written& w : shared_->written) {
        // An inode number alone is no proof: once another program replaces a result of ours,
        // its number is free for whatever file lands next, at any name. The file at `target`
        // is ours only while the one we wrote still stands where we put it: then its number
        // cannot have been given to another file.
        if (w.id == id && files_.fileId(w.path) == w.id)
            return w.source;
    }
    return std::nullopt;
}

void RunResults::record(const QString& target, const QString& source) {
    Written written{files_.resolvedPath(target), files_.fileId(target), source};
    std::lock_guard lock(shared_->mutex);
    shared_->written.append(std::move(written));
}

}  // namespace slate
