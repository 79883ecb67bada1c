// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include "support/powerpointfile.h"

#include <QFile>
#include <QtEndian>

namespace slate::testing {

namespace {

constexpr quint32 kEndOfChain = 0xFFFFFFFE;
constexpr quint32 kLastRegularSector = 0xFFFFFFFA;
constexpr quint16 kSlideContainer = 0x03EE;
constexpr quint16 kTextChars = 0x0FA0;
constexpr quint16 kTextBytes = 0x0FA8;

struct Malformed {
    QString why;
};

// An OLE compound file in memory: sectors, FAT and the streams they chain together.
class CompoundFile {
  public:
    explicit CompoundFile(QByteArray data) : data_(std::move(data)) {
        static const char signature[] = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";
        if (data_.size() < 512 || !data_.startsWith(QByteArray(signature, 8)))
            throw Malformed{QStringLiteral("no OLE compound-file signature")};
        const quint16 shift = u16(30);
        if (u16(28) != 0xFFFE || (shift != 9 && shift != 12))
            throw Malformed{QStringLiteral("unexpected byte order or sector size")};
        sectorSize_ = 1 << shift;
        miniSectorSize_ = 1 << u16(32);
        miniCutoff_ = u32(56);
        readFat();
        directory_ = chain(u32(48));
        if (directory_.size() < 128)
            throw Malformed{QStringLiteral("empty directory")};
        const quint32 miniFatStart = u32(60);
        if (miniFatStart < kLastRegularSector) {
            const QByteArray miniFat = chain(miniFatStart);
            for (int i = 0; i + 4 <= miniFat.size(); i += 4)
                miniFat_ << le32(miniFat, i);
        }
    }

    // The named stream of any storage; nullopt when there is none.
    std::optional<QByteArray> stream(const QString& name) const {
        for (int entry = 0; entry + 128 <= directory_.size(); entry += 128) {
            const int nameBytes = le16(directory_, entry + 64);
            if (directory_[entry + 66] != 2 || nameBytes < 2 || nameBytes > 64)
                continue;
            const QString entryName = QString::fromUtf16(
                reinterpret_cast<const char16_t*>(directory_.constData() + entry),
                nameBytes / 2 - 1);
            if (entryName != name)
                continue;
            const quint32 start = le32(directory_, entry + 116);
            const quint32 size = le32(directory_, entry + 120);
            QByteArray bytes = size < miniCutoff_ ? miniChain(start) : chain(start);
            if (static_cast<quint32>(bytes.size()) < size)
                throw Malformed{QStringLiteral("stream \"%1\" is cut short").arg(name)};
            bytes.truncate(static_cast<int>(size));
            return bytes;
        }
        return std::nullopt;
    }

  private:
    static quint16 le16(const QByteArray& b, int at) {
        return qFromLittleEndian<quint16>(b.constData() + at);
    }
    static quint32 le32(const QByteArray& b, int at) {
        return qFromLittleEndian<quint32>(b.constData() + at);
    }
    quint16 u16(int at) const { return le16(data_, at); }
    quint32 u32(int at) const { return le32(data_, at); }

    QByteArray sector(quint32 number) const {
        const qint64 offset = (static_cast<qint64>(number) + 1) * sectorSize_;
        if (number >= kLastRegularSector || offset + sectorSize_ > data_.size())
            throw Malformed{QStringLiteral("sector %1 lies outside the file").arg(number)};
        return data_.mid(offset, sectorSize_);
    }

    void readFat() {
        QList<quint32> fatSectors;
        for (int i = 0; i < 109; ++i)
            fatSectors << u32(76 + 4 * i);
        quint32 difat = u32(68);
        for (quint32 n = u32(72); n > 0 && difat < kLastRegularSector; --n) {
            const QByteArray block = sector(difat);
            for (int i = 0; i + 4 < sectorSize_; i += 4)
                fatSectors << le32(block, i);
            difat = le32(block, sectorSize_ - 4);
        }
        for (quint32 i = 0; i < u32(44) && i < static_cast<quint32>(fatSectors.size()); ++i) {
            const QByteArray block = sector(fatSectors[i]);
            for (int at = 0; at < sectorSize_; at += 4)
                fat_ << le32(block, at);
        }
    }

    QByteArray chain(quint32 start) const {
        QByteArray bytes;
        for (quint32 s = start, steps = 0; s != kEndOfChain; ++steps) {
            if (s >= static_cast<quint32>(fat_.size()) || steps > static_cast<quint32>(fat_.size()))
                throw Malformed{QStringLiteral("broken sector chain")};
            bytes += sector(s);
            s = fat_[s];
        }
        return bytes;
    }

    QByteArray miniChain(quint32 start) const {
        const QByteArray miniStream = chain(le32(directory_, 116));  // the root entry's stream
        QByteArray bytes;
        for (quint32 s = start, steps = 0; s != kEndOfChain; ++steps) {
            const qint64 offset = static_cast<qint64>(s) * miniSectorSize_;
            if (s >= static_cast<quint32>(miniFat_.size()) ||
                steps > static_cast<quint32>(miniFat_.size()) ||
                offset + miniSectorSize_ > miniStream.size())
                throw Malformed{QStringLiteral("broken mini-sector chain")};
            bytes += miniStream.mid(offset, miniSectorSize_);
            s = miniFat_[s];
        }
        return bytes;
    }

    QByteArray data_;
    int sectorSize_ = 512;
    int miniSectorSize_ = 64;
    quint32 miniCutoff_ = 4096;
    QList<quint32> fat_;
    QList<quint32> miniFat_;
    QByteArray directory_;
};

// Walks the records in [from, to): containers (version 0xF) are entered, text atoms collected
// when inside a slide.
void walkRecords(const QByteArray& s, qint64 from, qint64 to, bool inSlide, int depth,
                 PowerPointContents& contents) {
    for (qint64 at = from; at < to;) {
        if (at + 8 > to || depth > 32)
            throw Malformed{QStringLiteral("record header cut short at offset %1").arg(at)};
        const quint16 verInstance = qFromLittleEndian<quint16>(s.constData() + at);
        const quint16 type = qFromLittleEndian<quint16>(s.constData() + at + 2);
        const quint32 length = qFromLittleEndian<quint32>(s.constData() + at + 4);
        const qint64 body = at + 8;
        if (body + length > to)
            throw Malformed{QStringLiteral("record 0x%1 overruns its container").arg(type, 4, 16)};
        const bool isSlide = depth == 0 && type == kSlideContainer;
        if (isSlide)
            ++contents.slides;
        if ((verInstance & 0xF) == 0xF) {
            walkRecords(s, body, body + length, inSlide || isSlide, depth + 1, contents);
        } else if (inSlide && type == kTextChars) {
            contents.slideTexts << QString::fromUtf16(
                reinterpret_cast<const char16_t*>(s.constData() + body), length / 2);
        } else if (inSlide && type == kTextBytes) {
            contents.slideTexts << QString::fromLatin1(s.constData() + body, length);
        }
        at = body + length;
    }
}

}  // namespace

std::optional<PowerPointContents> readPowerPoint97(const QString& path, QString* why) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (why)
            *why = QStringLiteral("cannot open %1: %2").arg(path, file.errorString());
        return std::nullopt;
    }
    try {
        const CompoundFile compound(file.readAll());
        const std::optional<QByteArray> document =
            compound.stream(QStringLiteral("PowerPoint Document"));
        if (!document)
            throw Malformed{QStringLiteral("no \"PowerPoint Document\" stream")};
        PowerPointContents contents;
        walkRecords(*document, 0, document->size(), false, 0, contents);
        return contents;
    } catch (const Malformed& m) {
        if (why)
            *why = m.why;
        return std::nullopt;
    }
}

bool isPowerPoint97File(const QString& path, QString* why) {
    return readPowerPoint97(path, why).has_value();
}

}  // namespace slate::testing
