// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QByteArray>
#include <QString>
#include <QtEndian>

namespace slate::testing {

inline void put32(QByteArray& bytes, int at, quint32 value) {
    qToLittleEndian(value, bytes.data() + at);
}

// The smallest compound file a finished result could be: header, one allocation-table sector,
// one directory sector and a "PowerPoint Document" stream of nine sectors.
inline QByteArray compoundFile() {
    constexpr quint32 end = 0xFFFFFFFE;
    constexpr int streamSectors = 9;
    QByteArray header(512, '\0');
    header.replace(0, 8, QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8));
    qToLittleEndian<quint16>(9, header.data() + 0x1E);  // 512-byte sectors
    qToLittleEndian<quint16>(6, header.data() + 0x20);
    put32(header, 0x2C, 1);     // one allocation-table sector...
    put32(header, 0x30, 1);     // ...the directory after it
    put32(header, 0x38, 4096);  // mini-stream cut-off
    put32(header, 0x3C, end);
    put32(header, 0x44, end);
    for (int i = 0; i < 109; ++i)
        put32(header, 0x4C + 4 * i, i == 0 ? 0 : 0xFFFFFFFF);
    QByteArray fat(512, '\xFF');
    put32(fat, 0, 0xFFFFFFFD);
    put32(fat, 4, end);
    for (int s = 2; s < 2 + streamSectors; ++s)
        put32(fat, 4 * s, s + 1 < 2 + streamSectors ? s + 1 : end);
    QByteArray directory(512, '\0');
    const auto entry = [&](int index, const QString& name, quint8 type, quint32 start,
                           quint32 size) {
        const int at = index * 128;
        directory.replace(at, name.size() * 2,
                          QByteArray(reinterpret_cast<const char*>(name.utf16()), name.size() * 2));
        qToLittleEndian<quint16>((name.size() + 1) * 2, directory.data() + at + 0x40);
        directory[at + 0x42] = static_cast<char>(type);
        put32(directory, at + 0x74, start);
        put32(directory, at + 0x78, size);
    };
    entry(0, QStringLiteral("Root Entry"), 5, end, 0);
    entry(1, QStringLiteral("PowerPoint Document"), 2, 2, streamSectors * 512 - 100);
    return header + fat + directory + QByteArray(streamSectors * 512, 'p');
}

}  // namespace slate::testing
