#pragma once

// A program-wide switch that handlers consult before they act. Code that suspends (or raises)
// it does so for a scope, through Mientras, which puts the previous value back on every exit
// path, early returns included. Only the run state sets lasting values.
class Interruptor
{
public:
    explicit Interruptor(bool valor) : m_valor(valor) {}
    Interruptor(const Interruptor&) = delete;
    Interruptor& operator=(const Interruptor&) = delete;

    bool activo() const { return m_valor; }
    explicit operator bool() const { return m_valor; }

    class [[nodiscard]] Mientras
    {
    public:
        Mientras(Interruptor& interruptor, bool valor)
            : m_interruptor(interruptor), m_antes(interruptor.m_valor)
        {
            m_interruptor.m_valor = valor;
        }
        ~Mientras() { m_interruptor.m_valor = m_antes; }
        Mientras(const Mientras&) = delete;
        Mientras& operator=(const Mientras&) = delete;

    private:
        Interruptor& m_interruptor;
        bool m_antes;
    };

private:
    friend struct RunState;
    bool m_valor;
};

// The same for a flag that one object owns (a member bool): set for a scope, put back after.
class [[nodiscard]] Bandera
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
