#pragma once

// Sets a flag of the run state for the life of a scope and puts the old value back, also on
// early returns: the program's own moves run with the navigation switches it needs.
class Bandera
{
public:
    Bandera(bool& flag, bool value) : m_flag(flag), m_old(flag) { m_flag = value; }
    ~Bandera() { m_flag = m_old; }
    Bandera(const Bandera&) = delete;
    Bandera& operator=(const Bandera&) = delete;

private:
    bool& m_flag;
    bool m_old;
};
