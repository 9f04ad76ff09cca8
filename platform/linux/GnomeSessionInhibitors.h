#ifndef GNOMESESSIONINHIBITORS_H
#define GNOMESESSIONINHIBITORS_H

// What GNOME's session manager knows: programs that asked it to keep the
// session from going idle (video players, presentations).
class GnomeSessionInhibitors
{
public:
    // False, too, where no GNOME session manager runs.
    static bool inhibitIdleness();

private:
    GnomeSessionInhibitors() = delete;
};

#endif
