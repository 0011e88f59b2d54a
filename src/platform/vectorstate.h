// Qt's vectorised drawing routines return with the upper halves of the AVX registers in use.
// Until they are cleared, every SSE instruction of ours pays a transition penalty: on the
// machines we measured, the complex arithmetic of a recalculation ran 17 times slower after a
// single QImage::fill. Code that leaves Qt for our own arithmetic clears that state first.
#pragma once

namespace zeigora {

// Clears the upper register halves where the processor has them; a no-op elsewhere.
void ClearUpperVectorState();

// Clears the state when it goes out of scope, i.e. after the Qt calls of the enclosing block.
struct TVectorStateGuard {
    TVectorStateGuard() = default;
    TVectorStateGuard(const TVectorStateGuard&) = delete;
    TVectorStateGuard& operator=(const TVectorStateGuard&) = delete;
    ~TVectorStateGuard() { ClearUpperVectorState(); }
};

}  // namespace zeigora
