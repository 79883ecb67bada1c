// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include "convert/uno/unooffices.h"

#include "convert/uno/unobridge.h"

namespace slate {

namespace {

class UnoOffice : public PooledOffice {
  public:
    explicit UnoOffice(const OfficeOptions& options)
        : bridge_(options), owned_(options.connectUrl.isEmpty()) {}

    OfficeBridge& bridge() override { return bridge_; }
    bool ownsProcess() const override { return owned_; }
    qint64 runId() const override { return bridge_.officeProcessId(); }
    void restart() override { bridge_.restart(); }
    void shutdown() override { bridge_.shutdown(); }
    void endForGood() override { bridge_.endForGood(); }

  private:
    UnoBridge bridge_;
    bool owned_;
};

}  // namespace

OfficePool::Factory unoOffices(const OfficeOptions& options, const QStringList& connections) {
    return [options, connections](int index) {
        OfficeOptions each = options;
        if (!connections.isEmpty())
            each.connectUrl = connections.value(index);
        return std::make_unique<UnoOffice>(each);
    };
}

int unoOfficeLimit(const QStringList& connections) {
    return connections.isEmpty() ? kMaxOffices : static_cast<int>(connections.size());
}

std::unique_ptr<OfficePool> officesFromEnvironment() {
    const OfficeOptions options = OfficeOptions::fromEnvironment();
    QStringList running;
    if (!options.connectUrl.isEmpty())
        running << options.connectUrl;
    return std::make_unique<OfficePool>(unoOffices(options, running), unoOfficeLimit(running));
}

}  // namespace slate
