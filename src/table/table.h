// The table program's command line: sysreport-table [MODE] FOLDER|FILE...
#pragma once

// Writes the table of every report named on standard output; returns the
// exit status: 0, 1 when a file was not a whole report or a command line
// was wrong, 2 when the table could not be written.
int run_table(int argc, char **argv);
