#include "DrawingSurface.h"

namespace sweepdraw {

void DrawingSurface::meterAtEnd(bool point, float x, float y)
{
    if (!m_meter) {
        m_left = kUnmetered;
        return;
    }
    if (m_beyond) {
        m_left = m_meter->more();
        m_beyond = false;
        if (--m_left > 0)
            return;
    }
    m_meter->last(point, x, y);
    m_beyond = true;
    m_left = 1;
}

} // namespace sweepdraw
