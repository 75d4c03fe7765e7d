// The tool check against real HDL tools; see below.
