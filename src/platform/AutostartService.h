#pragma once

// Starting the program when the user logs in.
class AutostartService {
public:
    virtual ~AutostartService();

    virtual bool isEnabled() const = 0;
    // False when the change could not be made; the previous state is then kept.
    virtual bool setEnabled(bool enabled) = 0;
};
