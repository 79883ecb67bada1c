// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include <gtest/gtest.h>

#include "joblist/isinlist.h"
#include "joblist/joblist.h"

namespace slate {
namespace {

TEST(IsInList, EmptyListHoldsNothing) {
    JobList list;
    EXPECT_FALSE(IsInList(list, QString()));
    EXPECT_FALSE(IsInList(list, QStringLiteral("C:\\a.odp")));
}

TEST(IsInList, ComparesExactlyAndCaseSensitively) {
    JobList list;
    list.append(QStringLiteral("C:\\A.odp"));
    list.append(QStringLiteral("C:\\a.odp"));
    list.append(QStringLiteral("/home/u/x.odp"));
    EXPECT_FALSE(IsInList(list, QStringLiteral("c:\\a.odp")));
    EXPECT_TRUE(IsInList(list, QStringLiteral("C:\\a.odp")));
    EXPECT_TRUE(IsInList(list, QStringLiteral("C:\\A.odp")));
    EXPECT_TRUE(IsInList(list, QStringLiteral("/home/u/x.odp")));
    EXPECT_FALSE(IsInList(list, QStringLiteral("/home/u//x.odp")));
    EXPECT_FALSE(IsInList(list, QStringLiteral("/home/u/x.odp ")));
}

}  // namespace
}  // namespace slate
