// What zebscribe --help and zebscribe COMMAND --help print, and the options
// each command's parser takes.
#include "options.h"

namespace zeb::tool {

#define RECORDING_FILES                                                         \
  "  --model FILE       the model file, when DIR holds another than\n"         \
  "                     scribe_output.c or the only .c file there\n"           \
  "  --data FILE        the data file, when not the one the program opens\n"
#define COMPILER "  --cc CC            the compiler command (default: $CC, else cc)\n"
#define TRUST "  --trust            build it all the same, as the model file stands\n"

const std::vector<Subcommand> kSubcommands = {
    {"info", "DIR", "what the recording in DIR holds", {"--json", "--model", "--data"},
     "usage: zebscribe info DIR [--json] [--model FILE] [--data FILE]\n\n"
     "Says what the recording in DIR holds: the calls of each API member; the\n"
     "backends, devices, contexts, profiles, graphs, nodes, tensors and executions,\n"
     "with their sizes; the binaries handed in and asked for; the bytes the program\n"
     "reads against the data file's size; whether header and footer are there; the\n"
     "statements of main and the stack its locals take.\n\n"
     "  --json             the same as one JSON object\n" RECORDING_FILES},
    {"check", "DIR", "whether it is whole and replays as recorded", {"--model", "--data"},
     "usage: zebscribe check DIR [--model FILE] [--data FILE]\n\n"
     "Prints a line for each problem of the recording in DIR: a header cut or\n"
     "missing, no footer, a partial block at the end, reads past the data file or\n"
     "bytes left unread, a name declared twice, before its declaration or\n"
     "nowhere, and foreign code (a line the recorder does not write, text after\n"
     "the footer, a client string that does not stay one C string). Warns about\n"
     "client strings that will not read back as passed, and about locals of main\n"
     "that take more stack than a Windows program gets by default. Exit status 0\n"
     "only when the recording is sound.\n\n" RECORDING_FILES},
    {"seal", "DIR", "finish the recording of an application that died", {"--model", "--data"},
     "usage: zebscribe seal DIR [--model FILE] [--data FILE]\n\n"
     "Finishes the recording in DIR of an application that died before it unloaded\n"
     "the library: drops a partial block at the end, cuts the data file to what the\n"
     "whole blocks read and appends the footer; creates the empty data file of an\n"
     "application that died before it opened one. Refuses a recording that has its\n"
     "footer, or whose data file is short or missing while its blocks read it.\n\n" RECORDING_FILES},
    {"dump", "DIR", "replay it against the echo backend, a line per call", {"--cc", "--trust", "--model", "--data"},
     "usage: zebscribe dump DIR [--cc CC] [--trust] [--model FILE] [--data FILE]\n\n"
     "Builds the recording in DIR as build does, against the installed echo\n"
     "backend in a scratch directory, runs it there and prints a line for each call\n"
     "it makes: what the recording will do to a backend, without hardware. Refuses\n"
     "a recording that holds foreign code (see check) unless --trust is given.\n\n" COMPILER TRUST RECORDING_FILES},
    {"build", "DIR", "compile it into a replay linked with a backend",
     {"--backend", "-o", "--cc", "--plain", "--trust", "--model", "--data"},
     "usage: zebscribe build DIR --backend LIBRARY [-o FILE] [--cc CC] [--plain]\n"
     "                       [--trust] [--model FILE] [--data FILE]\n\n"
     "Compiles the program in DIR against the installed headers and links it with\n"
     "LIBRARY, printing the commands. It compiles a rewrite, kept in FILE.build/:\n"
     "main's statements in their order, in functions cut into files that compile in\n"
     "parallel, its locals in static storage, so that a long recording builds fast\n"
     "and replays within the default stack, making the same calls with the same\n"
     "data. Refuses a recording that holds foreign code (see check) unless --trust\n"
     "is given.\n\n"
     "  --backend LIBRARY  the backend library to link with\n"
     "  -o FILE            the executable (default: DIR/replay, or replay.exe for a\n"
     "                     Windows backend)\n" COMPILER
     "  --plain            compile the model file as it stands, in one command\n" TRUST RECORDING_FILES},
    {"graph", "DIR", "draw the graphs it builds", {"--graph", "--format", "-o", "--model", "--data"},
     "usage: zebscribe graph DIR [--graph NAME] [--format dot|svg|html] [-o FILE]\n"
     "                       [--model FILE] [--data FILE]\n\n"
     "Draws each graph the recording in DIR builds: a box for each node with its\n"
     "name and op type, an edge for each tensor from its producer to its consumers,\n"
     "the graph's inputs and outputs, the weights in the node that reads them, and\n"
     "subgraphs inside their parent.\n\n"
     "  --graph NAME       only this graph (the client's name, or its variable)\n"
     "  --format FORMAT    dot: Graphviz DOT on standard output (the default);\n"
     "                     svg: drawn by Graphviz's dot; html: a page that needs\n"
     "                     nothing else, to pan, zoom and search\n"
     "  -o FILE            where the drawing goes (default: DIR/graph.svg or\n"
     "                     DIR/graph.html)\n" RECORDING_FILES},
    {"record", "-- APPLICATION", "run an application, recording its calls", {"--forward", "--as", "-o"},
     "usage: zebscribe record [--forward LIBRARY] [--as NAME] [-o DIR]\n"
     "                        -- APPLICATION [ARGUMENT...]\n\n"
     "Runs an application, unchanged, with ZebScribe recording its calls, and\n"
     "answers its exit status. Linux only: on Windows, copy ZebScribe.dll into the\n"
     "application's directory under the name it loads and set ZEBSCRIBE_OUTPUT_DIR\n"
     "and ZEBSCRIBE_FORWARD.\n\n"
     "  --forward LIBRARY  pass every call on to this backend (ZEBSCRIBE_FORWARD)\n"
     "  --as NAME          put ZebScribe where the application loads a backend by\n"
     "                     the name NAME, as libZebFoo.so, first on LD_LIBRARY_PATH\n"
     "  -o DIR             record into DIR (ZEBSCRIBE_OUTPUT_DIR)\n"},
};

std::string usage() {
  std::string text =
      "usage: zebscribe COMMAND DIR [OPTION...]\n"
      "       zebscribe record [OPTION...] -- APPLICATION [ARGUMENT...]\n";
  for (const Subcommand& command : kSubcommands) {
    std::string line = std::string("  ") + command.name + " " + command.operands;
    line.resize(26, ' ');
    text += line + command.summary + "\n";
  }
  return text +
         "zebscribe COMMAND --help says more about a command. DIR holds the recording\n"
         "(or is its model file).\n"
         "Exit status: 0 done, 1 the recording has problems or the command refused,\n"
         "2 wrong use or unreadable input.\n";
}

}  // namespace zeb::tool
