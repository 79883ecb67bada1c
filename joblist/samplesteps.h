#pragma once

namespace slate {

// The "Load Sample/Example Files" click.
enum class LoadSamplesStep {
    LoadSampleFiles = 100,
};

}  // namespace slate
