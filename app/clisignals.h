#pragma once

namespace slate {

// Makes SIGINT, SIGTERM and SIGHUP end the program through its exit hooks (status 128 plus
// the signal's number), so that an office it started does not outlive it. Safe to call more
// than once.
void installTerminationHandlers();

}  // namespace slate
