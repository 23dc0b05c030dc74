#pragma once

// What `vx308ctl --help` prints, and a wrong command line after its reason:
// every command, option and exit status.
extern const char *const kUsageText;
