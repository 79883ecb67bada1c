#include "joblist/isinlist.h"

#include "joblist/joblist.h"

namespace slate {

bool IsInList(const JobList& list, const QString& text) {
    bool found = false;
    for (const QString& row : list.texts())
        found = found || row == text;
    return found;
}

}  // namespace slate
