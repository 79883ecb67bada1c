// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

// What the system lets this process use, as a batch engine grants it: the CPUs of its affinity
// mask (a Slurm allocation, taskset, a cpuset), a cgroup v2 CPU quota (as a container's CPU
// limit sets it) and a cgroup memory limit.
namespace slate {

struct CpuGrant {
    enum class Limit { None, Affinity, Quota };
    int cpus = 1;        // what the process may use, at least 1
    int systemCpus = 1;  // what the machine has online
    Limit limit = Limit::None;
    // For the quota: the CPUs it grants, e.g. 1.5.
    double quota = 0;
};

struct MemoryGrant {
    enum class Limit { Unknown, Free, Cgroup };
    // What can still be taken without swapping or being killed; -1 when unknown.
    qint64 bytes = -1;
    Limit limit = Limit::Unknown;
    qint64 cgroupMax = -1;  // the cgroup's memory.max, when it has one
};

// Reads the limits under `root`, the folder that holds proc/ and sys/ ("/" for the system's
// own; tests hand a fake tree): proc/self/status (Cpus_allowed_list), proc/self/cgroup,
// sys/fs/cgroup/<the process's group and its parents>/cpu.max, memory.max and memory.current,
// and proc/meminfo. A limit of a parent group binds its children too, so the smallest wins.
CpuGrant readCpuGrant(const QString& root, int systemCpus);
MemoryGrant readMemoryGrant(const QString& root);

// The CPUs the machine has online, whatever this process may use of them.
int onlineCpus();

}  // namespace slate
