#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace slate {

class OfficeBridge;

// One office of a run, as the thread that converts with it sees it.
struct PoolOffice {
    explicit PoolOffice(OfficeBridge* bridge, std::function<void()> restart = {},
                        std::function<double()> takeOfficeSeconds = {},
                        std::function<qint64()> officeId = {})
        : bridge(bridge),
          restart(std::move(restart)),
          takeOfficeSeconds(std::move(takeOfficeSeconds)),
          officeId(std::move(officeId)) {}

    OfficeBridge* bridge;
    // Ends the office so that the next call starts a fresh one; empty for an office this
    // program only connects to, which is not its to restart.
    std::function<void()> restart;
    // The time the office spent loading, saving and closing since this was last asked;
    // empty when nobody measures it.
    std::function<double()> takeOfficeSeconds;
    // Tells one run of the office from the next (its process id), so that an office started
    // again after a crash counts its files from nought; empty when it cannot tell.
    std::function<qint64()> officeId;
};

// Reaches every office at once, each from a thread of its own, starting the ones this program
// starts. For each office the reason it could not be reached; empty where it was.
QStringList reachOffices(const QList<PoolOffice>& offices);

// Restarts an office before the file that would take it past `every` files since it started,
// so that what a long-running office gathers in memory stays bounded. 0: never.
class OfficeRecycler {
  public:
    OfficeRecycler(std::function<void()> restart, int every)
        : restart_(std::move(restart)), every_(every) {}
    // Called as each file begins, before the office is reached.
    void beforeFile();
    // Called once the office that converts the file answers: `office` tells which run of it.
    void fileOn(qint64 office);
    int restarts() const { return restarts_; }

  private:
    std::function<void()> restart_;
    int every_;
    int files_ = 0;
    qint64 office_ = 0;
    int restarts_ = 0;
};

// What an office takes in memory, with a little room to grow (one peaks near 210 MB).
inline constexpr qint64 kOfficeMemoryBytes = 250LL * 1024 * 1024;
// As many offices as there are private profiles for them.
inline constexpr int kMaxOffices = 16;

struct OfficeCount {
    int offices = 1;
    // Fewer than one per core, because the free memory holds no more.
    bool limitedByMemory = false;
};
// One office per core, no more than `availableBytes` holds at kOfficeMemoryBytes each, at
// least one and at most kMaxOffices. A negative `availableBytes` means unknown: no limit.
OfficeCount officesForMachine(int cores, qint64 availableBytes);

// The cores this program may run on.
int availableCores();
// The memory the system can give without swapping, in bytes; -1 when it does not say.
qint64 availableMemoryBytes();

}  // namespace slate
