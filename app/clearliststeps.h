#pragma once

namespace slate {

// The "Clear List" click.
enum class ClearListStep {
    ClearList = 100,
};

}  // namespace slate
