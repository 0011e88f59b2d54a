// The circuit diagram needs the same headless Qt runner as the plane drawing.
#include "plane/main.cpp"
