// The command-line driver: banner, argument checks, one report per switch
// letter, and the elapsed time of the run.
#pragma once

// Runs the letters of the first argument; returns the exit status (0). Every
// malformed command line ends the process through print_usage instead.
int run_main(int argc, char **argv);

// Prints the usage text and ends the process with status 1, saying why on
// standard error.
[[noreturn]] void print_usage(const char *why);
