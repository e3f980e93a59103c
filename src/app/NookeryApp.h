#pragma once

// The program once the command line has nothing more to answer: hands the request to a
// Nookery already running in this session, or becomes that Nookery.
class NookeryApp {
public:
    // `openPanel`: show the panel as soon as the tray icon exists (`--toggle`).
    static int run(int &argc, char **argv, bool openPanel);
};
