#ifndef ACTIVATIONREQUEST_H
#define ACTIVATIONREQUEST_H

class QWidget;

// Brings a shown window to the front with the keyboard focus. An application's
// own activation request is what window managers' focus-stealing prevention
// turns down when it comes without a fresh user input (a second start of the
// program has none to give); a request in the name of a pager is honoured.
class ActivationRequest
{
public:
    static void send(QWidget *window);

private:
    ActivationRequest() = delete;
};

#endif
