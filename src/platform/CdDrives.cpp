#include "platform/CdDrives.h"

#include <QElapsedTimer>

#include <algorithm>

namespace cd {

int Toc::trackAt(int sector) const
{
    int found = tracks.isEmpty() ? 0 : 1;
    for (int i = 0; i < tracks.size(); ++i)
        if (sector >= tracks[i].start) found = i + 1;
    return found;
}

Toc Toc::audioOnly() const
{
    Toc audio;
    for (const Track& t : tracks)
        if (t.audio) audio.tracks.append(t);
    return audio;
}

bool tocFromLayout(const DiscLayout& layout, Toc* toc)
{
    const qsizetype n = layout.starts.size();
    if (n == 0 || layout.audio.size() != n) return false;
    Toc result;
    for (qsizetype i = 0; i < n; ++i) {
        const int start = layout.starts[i];
        int end = i + 1 < n ? layout.starts[i + 1] : layout.leadOut;
        if (i + 1 < n && layout.audio[i] && !layout.audio[i + 1] && layout.lastSession > 0) {
            const int sessionEnd = layout.lastSession - SessionGapSectors;
            if (sessionEnd > start && sessionEnd < end) end = sessionEnd;
        }
        if (start < 0 || end <= start) return false;
        result.tracks.append(Track{start, end - start, layout.audio[i]});
    }
    *toc = result;
    return true;
}

ClockedCdOutput::ClockedCdOutput(std::function<qint64()> msClock) : m_clock(std::move(msClock)) {}

bool ClockedCdOutput::start(const PlayRequest& request)
{
    m_startedAt = m_clock();
    m_total = std::max(0, request.end - request.first);
    m_heardAtStop = 0;
    m_running = true;
    return true;
}

void ClockedCdOutput::stop()
{
    if (!m_running) return;
    m_heardAtStop = heardSectors();
    m_running = false;
}

qint64 ClockedCdOutput::heardSectors()
{
    if (!m_running) return m_heardAtStop;
    const qint64 elapsed = std::max<qint64>(0, m_clock() - m_startedAt);
    return std::min(m_total, elapsed * SectorsPerSecond / 1000);
}

bool ClockedCdOutput::finished() { return m_running && heardSectors() >= m_total; }

qint64 steadyMilliseconds()
{
    static QElapsedTimer timer;
    if (!timer.isValid()) timer.start();
    return timer.elapsed();
}

} // namespace cd
