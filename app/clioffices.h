#pragma once

#include <QList>
#include <QTextStream>

#include <deque>
#include <memory>
#include <vector>

#include "app/cliargs.h"
#include "convert/officepool.h"
#include "convert/timingbridge.h"

#if SLATE_HAVE_UNO
#include "convert/uno/officeoptions.h"
#endif

namespace slate {

class UnoBridge;

// How many offices the convert command starts: --jobs N, or for auto one per core as far as
// the free memory holds them, which `err` is told when it holds fewer.
int officesToStart(const ConvertArguments& arguments, int cores, qint64 availableBytes,
                   QTextStream& err);

// Reaches the offices, all at once. Those that cannot be reached are left out, each with a
// line on `err`; false, with the reason on `err`, when none can.
bool reachOfficesOrSay(QList<PoolOffice>& offices, QTextStream& err);

// The offices with the time each spends loading, saving and closing measured, for --timings.
class MeasuredOffices {
  public:
    explicit MeasuredOffices(const QList<PoolOffice>& offices);
    const QList<PoolOffice>& pool() const { return pool_; }

  private:
    std::deque<TimingBridge> timings_;
    QList<PoolOffice> pool_;
};

#if SLATE_HAVE_UNO
// The offices of one convert command: the running ones that --office names (or
// SLATEMERE_OFFICE_URL), else as many of its own as officesToStart() says, each on a private
// profile and pipe, started at their first use.
class CommandLineOffices {
  public:
    CommandLineOffices(const ConvertArguments& arguments, const OfficeOptions& options,
                       QTextStream& err);
    ~CommandLineOffices();
    CommandLineOffices(const CommandLineOffices&) = delete;
    CommandLineOffices& operator=(const CommandLineOffices&) = delete;

    const QList<PoolOffice>& pool() const { return pool_; }
    // Ends the offices this program started, all at once.
    void shutdown();

  private:
    std::vector<std::unique_ptr<UnoBridge>> bridges_;
    QList<PoolOffice> pool_;
};
#endif

}  // namespace slate
