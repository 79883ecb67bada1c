// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include "convert/updatecheck.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <QList>
#include <QtEndian>

#include <optional>

#include "common/platform/filesystem.h"
#include "convert/resultfile.h"

namespace slate {

namespace {

constexpr quint32 kEndOfChain = 0xFFFFFFFE;
constexpr quint32 kLastRegularSector = 0xFFFFFFFA;
constexpr int kHeaderFatEntries = 109;
constexpr int kDirectoryEntrySize = 128;
constexpr quint8 kStreamEntry = 2;

quint32 le32(const QByteArray& bytes, qint64 at) {
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}
quint16 le16(const QByteArray& bytes, qint64 at) {
    return qFromLittleEndian<quint16>(bytes.constData() + at);
}

// Reads a compound file's sectors on demand; any sector not wholly inside the file, any
// broken chain, ends the check as "not whole".
class Sectors {
  public:
    Sectors(QIODevice& file, int sectorSize)
        : file_(file), sectorSize_(sectorSize), count_((file.size() - sectorSize) / sectorSize) {}

    std::optional<QByteArray> read(quint32 number) {
        if (number >= count_ || !file_.seek((static_cast<qint64>(number) + 1) * sectorSize_))
            return std::nullopt;
        QByteArray bytes = file_.read(sectorSize_);
        if (bytes.size() != sectorSize_)
            return std::nullopt;
        return bytes;
    }

    bool loadFat(const QList<quint32>& fatSectors) {
        for (quint32 number : fatSectors) {
            const std::optional<QByteArray> block = read(number);
            if (!block)
                return false;
            for (int at = 0; at < sectorSize_; at += 4)
                fat_ << le32(*block, at);
        }
        return true;
    }

    // The sectors of the chain from `start`; nothing when it leaves the file or loops.
    std::optional<QList<quint32>> chain(quint32 start) const {
        QList<quint32> sectors;
        for (quint32 s = start; s != kEndOfChain; s = fat_[s]) {
            if (s >= static_cast<quint32>(fat_.size()) || s >= count_ ||
                sectors.size() > fat_.size())
                return std::nullopt;
            sectors << s;
        }
        return sectors;
    }

    int sectorSize() const { return sectorSize_; }

  private:
    QIODevice& file_;
    int sectorSize_;
    qint64 count_;
    QList<quint32> fat_;
};

// The sectors that hold the allocation table, from the header and the chain that extends it.
std::optional<QList<quint32>> fatSectors(const QByteArray& header, Sectors& sectors) {
    const qsizetype count = le32(header, 0x2C);
    QList<quint32> list;
    for (int i = 0; i < kHeaderFatEntries && list.size() < count; ++i)
        list << le32(header, 0x4C + 4 * i);
    quint32 next = le32(header, 0x44);
    for (quint32 left = le32(header, 0x48); left > 0 && list.size() < count; --left) {
        const std::optional<QByteArray> block =
            next <= kLastRegularSector ? sectors.read(next) : std::nullopt;
        if (!block)
            return std::nullopt;
        const int perBlock = sectors.sectorSize() / 4 - 1;
        for (int i = 0; i < perBlock && list.size() < count; ++i)
            list << le32(*block, 4 * i);
        next = le32(*block, sectors.sectorSize() - 4);
    }
    if (list.size() != count)
        return std::nullopt;
    return list;
}

}  // namespace

bool isCompletePowerPoint97(QIODevice& file) {
    if (!file.seek(0))
        return false;
    const QByteArray header = file.read(512);
    if (header.size() < 512 || !startsLikeCompoundFile(header))
        return false;
    const int shift = le16(header, 0x1E);
    if (shift != 9 && shift != 12)
        return false;
    Sectors sectors(file, 1 << shift);
    const std::optional<QList<quint32>> fat = fatSectors(header, sectors);
    if (!fat || !sectors.loadFat(*fat))
        return false;
    const std::optional<QList<quint32>> directory = sectors.chain(le32(header, 0x30));
    if (!directory)
        return false;
    const quint32 miniCutoff = le32(header, 0x38);
    static const QString kDocument = QStringLiteral("PowerPoint Document");
    for (quint32 number : *directory) {
        const std::optional<QByteArray> block = sectors.read(number);
        if (!block)
            return false;
        for (int at = 0; at + kDirectoryEntrySize <= block->size(); at += kDirectoryEntrySize) {
            const int nameBytes = le16(*block, at + 0x40);
            if (static_cast<quint8>(block->at(at + 0x42)) != kStreamEntry || nameBytes < 2 ||
                nameBytes > 64)
                continue;
            const QString name = QString::fromUtf16(
                reinterpret_cast<const char16_t*>(block->constData() + at), nameBytes / 2 - 1);
            if (name != kDocument)
                continue;
            const quint32 size = le32(*block, at + 0x78);
            // A presentation's document stream is far above the cut-off for small streams; one
            // below it would live in the mini stream, which no finished result uses.
            if (size < miniCutoff)
                return false;
            const std::optional<QList<quint32>> stream = sectors.chain(le32(*block, at + 0x74));
            return stream && static_cast<qint64>(stream->size()) * sectors.sectorSize() >= size;
        }
    }
    return false;
}

UpdateNeed updateNeed(const QString& sourcePath, const QString& resultPath) {
    const QFileInfo result(resultPath);
    if (!result.exists())
        return UpdateNeed::Missing;
    QFile file(resultPath);
    if (!result.isFile() || !file.open(QIODevice::ReadOnly) || !isCompletePowerPoint97(file))
        return UpdateNeed::NotPowerPoint;
    // Equal times count as up to date, as make has it; a source that cannot be read is left to
    // the run, which reports it.
    const QDateTime source = QFileInfo(sourcePath).lastModified();
    if (!source.isValid() || result.lastModified() < source)
        return UpdateNeed::Older;
    return UpdateNeed::UpToDate;
}

QList<int> upToDateSources(const QStringList& sources, const QStringList& results,
                           FileSystem& files) {
    // Compared as the run compares its targets, links and spelling differences included.
    RunResults claimed(files);
    QList<int> upToDate;
    for (int i = 0; i < sources.size(); ++i) {
        const QString& result = results.at(i);
        if (claimed.writtenFrom(result))
            continue;
        claimed.record(result, sources.at(i));
        if (updateNeed(sources.at(i), result) == UpdateNeed::UpToDate)
            upToDate << i;
    }
    return upToDate;
}

}  // namespace slate
