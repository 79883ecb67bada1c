# SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
# SPDX-License-Identifier: MIT

# A private one-node Slurm cluster for tests, sourced by them: its own munge key and socket,
# its own ports, state, spool and logs, all under one folder, started and ended here. The
# system's own munge and Slurm (if any) are never touched.
#
#   start_cluster DIR   starts it; exports SLURM_CONF
#   stop_cluster        cancels its jobs, waits for them to go, ends its daemons

cluster_dir=

# A TCP port nothing listens on.
free_port() {
  local port
  for _ in $(seq 50); do
    port=$(shuf -i 20000-45000 -n 1)
    if ! (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; then
      echo "$port"
      return 0
    fi
  done
  return 1
}

cluster_logs() {
  local log
  for log in "$cluster_dir"/log/*.log; do
    [ -f "$log" ] || continue
    echo "--- $log (last lines)"
    tail -n 20 "$log"
  done
}

start_cluster() {
  cluster_dir=$1
  local node ctld_port slurmd_port
  node=$(hostname -s)
  mkdir -p "$cluster_dir"/{munge,state,spool,log,run}
  chown munge: "$cluster_dir/munge"
  chmod 0700 "$cluster_dir/munge"
  dd if=/dev/urandom of="$cluster_dir/munge/key" bs=1024 count=1 status=none
  chown munge: "$cluster_dir/munge/key"
  chmod 0400 "$cluster_dir/munge/key"
  # munged refuses a socket folder others may write; the test folder may be anywhere.
  runuser -u munge -- /usr/sbin/munged --socket="$cluster_dir/munge/sock" \
    --key-file="$cluster_dir/munge/key" --pid-file="$cluster_dir/munge/pid" \
    --log-file="$cluster_dir/munge/log" --seed-file="$cluster_dir/munge/seed" --force

  ctld_port=$(free_port)
  slurmd_port=$(free_port)
  cat >"$cluster_dir/slurm.conf" <<CONF
ClusterName=slatetest
SlurmctldHost=$node(127.0.0.1)
SlurmctldPort=$ctld_port
SlurmdPort=$slurmd_port
SlurmUser=root
SlurmdUser=root
AuthType=auth/munge
CredType=cred/munge
AuthInfo=socket=$cluster_dir/munge/sock
ProctrackType=proctrack/linuxproc
TaskPlugin=task/affinity
JobAcctGatherType=jobacct_gather/none
SelectType=select/cons_tres
SelectTypeParameters=CR_Core
ReturnToService=2
MpiDefault=none
StateSaveLocation=$cluster_dir/state
SlurmdSpoolDir=$cluster_dir/spool
SlurmctldPidFile=$cluster_dir/run/slurmctld.pid
SlurmdPidFile=$cluster_dir/run/slurmd.pid
SlurmctldLogFile=$cluster_dir/log/slurmctld.log
SlurmdLogFile=$cluster_dir/log/slurmd.log
KillWait=10
MinJobAge=600
NodeName=$node NodeAddr=127.0.0.1 CPUs=$(nproc) RealMemory=$(awk '/MemTotal/ {print int($2 / 1024)}' /proc/meminfo) State=UNKNOWN
PartitionName=test Nodes=$node Default=YES State=UP OverSubscribe=FORCE:4 MaxTime=INFINITE
CONF
  export SLURM_CONF=$cluster_dir/slurm.conf
  slurmctld -f "$SLURM_CONF"
  slurmd -f "$SLURM_CONF"
  for _ in $(seq 100); do
    [ "$(sinfo -h -o %T 2>/dev/null)" = idle ] && return 0
    sleep 0.2
  done
  echo "the private cluster's node did not become idle" >&2
  cluster_logs >&2
  return 1
}

stop_cluster() {
  [ -n "$cluster_dir" ] || return 0
  # Ending the daemons alone would leave each running task's slurmstepd and processes behind.
  if [ -n "${SLURM_CONF:-}" ] && [ -f "$SLURM_CONF" ]; then
    scancel --full $(squeue -h -o %A 2>/dev/null | sort -u) 2>/dev/null || true
    for _ in $(seq 150); do
      [ -z "$(squeue -h 2>/dev/null)" ] && break
      sleep 0.2
    done
  fi
  local pidfile pid
  for pidfile in "$cluster_dir/run/slurmd.pid" "$cluster_dir/run/slurmctld.pid" \
                 "$cluster_dir/munge/pid"; do
    [ -f "$pidfile" ] || continue
    pid=$(cat "$pidfile")
    kill "$pid" 2>/dev/null || continue
    for _ in $(seq 50); do
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.1
    done
  done
  cluster_dir=
}
