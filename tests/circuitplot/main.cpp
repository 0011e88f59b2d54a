// The sweep pictures need the same headless Qt runner as the plane drawing.
#include "plane/main.cpp"
