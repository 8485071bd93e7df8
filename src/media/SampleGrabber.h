#pragma once

#include <QImage>

namespace media {

class FilterGraph;

// A filter the program puts into the graph or takes out of it (the sample grabber, the colour
// space converter). The graph includes it in the next file it renders.
class GraphComponent {
public:
    enum class Kind { SampleGrabber, ColorSpaceConverter };

    explicit GraphComponent(Kind kind) : kind_(kind) {}
    ~GraphComponent();
    GraphComponent(const GraphComponent&) = delete;
    GraphComponent& operator=(const GraphComponent&) = delete;

    // Puts the component into `graph`, or takes it out with nullptr.
    void setFilterGraph(FilterGraph* graph);
    FilterGraph* filterGraph() const { return graph_; }
    Kind kind() const { return kind_; }

private:
    Kind kind_;
    FilterGraph* graph_ = nullptr;
};

// Sits in front of the standard renderer and keeps the last 32-bit RGB sample it passed on.
class SampleGrabber : public GraphComponent {
public:
    SampleGrabber() : GraphComponent(Kind::SampleGrabber) {}

    void receive(const QImage& sample) { sample_ = sample; }
    // The last sample in 32-bit RGB; null before the first one.
    QImage lastSample() const { return sample_; }
    void clear() { sample_ = QImage(); }

private:
    QImage sample_;
};

// The colour space converter (swscale to 32-bit RGB) put in front of the grabber in video mode 2.
class FilterColorSpaceConverter : public GraphComponent {
public:
    FilterColorSpaceConverter() : GraphComponent(Kind::ColorSpaceConverter) {}
};

}  // namespace media
