// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include "officefixture.h"

namespace slate::testing {
namespace {

using OfficeFilterTest = OfficeSuite;

TEST_F(OfficeFilterTest, ThePowerPointExportFilterIsKnownAndOthersAreNot) {
    EXPECT_TRUE(bridge().hasExportFilter(kPowerPoint97));
    // Known to the office, but it only reads.
    EXPECT_FALSE(bridge().hasExportFilter(QStringLiteral("PowerPoint 3")));
    EXPECT_FALSE(bridge().hasExportFilter(QStringLiteral("No Such Filter")));
}

}  // namespace
}  // namespace slate::testing
