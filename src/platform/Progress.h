#pragma once

namespace velmora {

// A progress bar's state as long operations drive it. Windows subclass it to show the
// values and let pending events run; headless runs use it as it is.
class Progress {
public:
    virtual ~Progress() = default;

    float maximum() const { return m_maximum; }
    float value() const { return m_value; }
    void setMaximum(float maximum) {
        m_maximum = maximum;
        changed();
    }
    void setValue(float value) {
        m_value = value;
        changed();
    }
    void advance(float step) { setValue(m_value + step); }

    // Repaint and let pending window events run, so the window stays alive.
    virtual void yieldToEvents() {}

protected:
    virtual void changed() {}

private:
    float m_maximum = 100;
    float m_value = 0;
};

} // namespace velmora
