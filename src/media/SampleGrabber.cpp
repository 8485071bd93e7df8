#include "media/SampleGrabber.h"

#include "media/FilterGraph.h"

namespace media {

GraphComponent::~GraphComponent()
{
    setFilterGraph(nullptr);
}

void GraphComponent::setFilterGraph(FilterGraph* graph)
{
    if (graph_ == graph)
        return;
    if (graph_)
        graph_->detachComponent(this);
    graph_ = graph;
    if (graph_)
        graph_->attachComponent(this);
}

}  // namespace media
