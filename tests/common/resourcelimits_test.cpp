// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "common/platform/resourcelimits.h"
#include "support/tempfiles.h"

namespace slate {
namespace {

using Files = std::map<std::string, std::string>;

struct LimitCase {
    const char* name;
    Files files;  // relative to the fake root
    int cpus;
    CpuGrant::Limit cpuLimit;
    qint64 memoryMiB;  // -1: unknown
    MemoryGrant::Limit memoryLimit;
};

const std::string kGroup = "sys/fs/cgroup/job/step";
const std::string kFree = "MemTotal: 8000000 kB\nMemAvailable: 2097152 kB\n";  // 2048 MiB

void PrintTo(const LimitCase& c, std::ostream* os) {
    *os << c.name;
}

class ResourceLimitsTest : public ::testing::TestWithParam<LimitCase> {};

TEST_P(ResourceLimitsTest, ReadsWhatTheFakeTreeGrants) {
    const LimitCase& c = GetParam();
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    for (const auto& [path, text] : c.files)
        testing::writeTestFile(root.filePath(QString::fromStdString(path)),
                               QByteArray(text.c_str()));

    const CpuGrant cpus = readCpuGrant(root.path(), 8);
    EXPECT_EQ(cpus.cpus, c.cpus);
    EXPECT_EQ(cpus.limit, c.cpuLimit);
    EXPECT_EQ(cpus.systemCpus, 8);
    const MemoryGrant memory = readMemoryGrant(root.path());
    EXPECT_EQ(memory.bytes, c.memoryMiB < 0 ? -1 : c.memoryMiB << 20);
    EXPECT_EQ(memory.limit, c.memoryLimit);
}

using C = CpuGrant::Limit;
using M = MemoryGrant::Limit;
INSTANTIATE_TEST_SUITE_P(
    Trees, ResourceLimitsTest,
    ::testing::Values(
        LimitCase{"NothingReadable", {}, 8, C::None, -1, M::Unknown},
        LimitCase{"NoLimits",
                  {{"proc/self/status", "Name:\tx\nCpus_allowed_list:\t0-7\n"},
                   {"proc/self/cgroup", "0::/job/step\n"},
                   {"proc/meminfo", kFree},
                   {kGroup + "/cpu.max", "max 100000\n"},
                   {kGroup + "/memory.max", "max\n"}},
                  8,
                  C::None,
                  2048,
                  M::Free},
        // A Slurm task bound to two CPUs, one of them in another range.
        LimitCase{"AffinityMask",
                  {{"proc/self/status", "Cpus_allowed_list:\t1,6\n"}, {"proc/meminfo", kFree}},
                  2,
                  C::Affinity,
                  2048,
                  M::Free},
        // A parent's quota binds its child; 2.5 CPUs run two offices, not three.
        LimitCase{"QuotaOfAParent",
                  {{"proc/self/status", "Cpus_allowed_list:\t0-7\n"},
                   {"proc/self/cgroup", "0::/job/step\n"},
                   {"sys/fs/cgroup/job/cpu.max", "250000 100000\n"},
                   {kGroup + "/cpu.max", "max 100000\n"}},
                  2,
                  C::Quota,
                  -1,
                  M::Unknown},
        // Half a CPU still runs one office.
        LimitCase{"QuotaBelowOne",
                  {{"proc/self/cgroup", "0::/\n"}, {"sys/fs/cgroup/cpu.max", "50000 100000\n"}},
                  1,
                  C::Quota,
                  -1,
                  M::Unknown},
        // The mask is tighter than the quota: the mask is what limits.
        LimitCase{"MaskTighterThanQuota",
                  {{"proc/self/status", "Cpus_allowed_list:\t3\n"},
                   {"proc/self/cgroup", "0::/job/step\n"},
                   {kGroup + "/cpu.max", "400000 100000\n"}},
                  1,
                  C::Affinity,
                  -1,
                  M::Unknown},
        // A container's limit below the free memory, less what the group already uses.
        LimitCase{"MemoryMaxBelowFree",
                  {{"proc/self/cgroup", "0::/job/step\n"},
                   {"proc/meminfo", kFree},
                   {"sys/fs/cgroup/job/memory.max", "1073741824\n"},
                   {"sys/fs/cgroup/job/memory.current", "268435456\n"},
                   {kGroup + "/memory.max", "max\n"}},
                  8,
                  C::None,
                  768,
                  M::Cgroup},
        LimitCase{"MemoryMaxAboveFree",
                  {{"proc/self/cgroup", "0::/job/step\n"},
                   {"proc/meminfo", kFree},
                   {kGroup + "/memory.max", "8589934592\n"}},
                  8,
                  C::None,
                  2048,
                  M::Free},
        // Only cgroup v1 controllers: no v2 group to read.
        LimitCase{"CgroupV1Only",
                  {{"proc/self/cgroup", "4:cpu,cpuacct:/job\n"},
                   {"sys/fs/cgroup/job/cpu.max", "100000 100000\n"}},
                  8,
                  C::None,
                  -1,
                  M::Unknown}),
    [](const ::testing::TestParamInfo<LimitCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace slate
