// How large a picture the diagram of a tree needs. The drawing halves the available height at
// every parallel level, so the needed height is found by trying heights: for one height the
// vertical extent of every subtree follows bottom-up from the same integer layout the drawing
// uses, and it fits when no two neighbouring branches come closer than a gap.
#include <algorithm>
#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "circuitdiagram/circgrph.h"

namespace zeigora {

namespace {

constexpr std::int64_t BranchGap = 10;  // between neighbouring branches' rectangles and labels
constexpr std::int64_t EdgeMargin = 6;  // between the outermost rectangles and the picture edge
constexpr std::int64_t Cap = MaxNeededDiagramSide;

struct TSizeNode {
    bool Group;
    bool Parallel;
    int FirstChild = 0;  // into TSizeTree::Children
    int ChildCount = 0;
    std::int64_t LabelUp = 0;     // parts: extent above the line
    std::int64_t LabelRight = 0;  // parts: how far the label reaches right of the symbol's centre
};

// The tree in pre-order with each node's members listed contiguously in member order.
struct TSizeTree {
    std::vector<TSizeNode> Nodes;
    std::vector<int> Children;
};

// Label widths for the layout: summed glyph advances, each measured once. Shaping every
// label would cost more than drawing the whole tree; kerning moves Latin text by a pixel or
// so, which the slack and the picture's right margin cover.
class TLabelWidths {
  public:
    explicit TLabelWidths(const TCanvas& canvas) : Canvas_(canvas) { Advance_.fill(-1); }
    std::int64_t Width(std::string_view text) {
        std::int64_t w = 2;
        for (const char c : text) {
            int& a = Advance_[static_cast<unsigned char>(c)];
            if (a < 0) a = Canvas_.TextWidth(std::string_view(&c, 1));
            w += a;
        }
        return w;
    }

  private:
    const TCanvas& Canvas_;
    std::array<int, 256> Advance_;
};

TSizeNode MakeNode(const TCanvas& canvas, TLabelWidths& widths, const TCustomCircuitElement& e,
                   TDiagramLabels labels) {
    TSizeNode node{e.ElementType() == etGroup, false};
    if (node.Group) {
        node.Parallel = static_cast<const TCircuitElementGroup&>(e).IsParallel;
        return node;
    }
    node.LabelUp = ElementRectHalfHeight;
    const std::string text = ElementLabel(e, labels);
    if (!text.empty()) {
        node.LabelUp = std::max<std::int64_t>(node.LabelUp, LabelGap + canvas.TextHeight(text));
        const std::int64_t width = widths.Width(text);
        node.LabelRight = width - width / 2;
    }
    return node;
}

TSizeTree Flatten(const TCanvas& canvas, const TCircuitElementGroup& root, TDiagramLabels labels) {
    TSizeTree tree;
    TLabelWidths widths(canvas);
    std::vector<int> parents;
    std::vector<const TCustomCircuitElement*> todo{&root};
    std::vector<int> todoParent{-1};
    while (!todo.empty()) {
        const TCustomCircuitElement* e = todo.back();
        const int parent = todoParent.back();
        todo.pop_back();
        todoParent.pop_back();
        tree.Nodes.push_back(MakeNode(canvas, widths, *e, labels));
        parents.push_back(parent);
        if (!tree.Nodes.back().Group) continue;
        const auto& g = static_cast<const TCircuitElementGroup&>(*e);
        for (int i = g.Count() - 1; i >= 0; --i) {
            todo.push_back(g.Items(i));
            todoParent.push_back(static_cast<int>(tree.Nodes.size()) - 1);
        }
    }
    for (std::size_t i = 1; i < tree.Nodes.size(); ++i)
        ++tree.Nodes[parents[i]].ChildCount;
    int offset = 0;
    for (TSizeNode& n : tree.Nodes) {
        n.FirstChild = offset;
        offset += n.ChildCount;
        n.ChildCount = 0;
    }
    tree.Children.resize(offset);
    for (std::size_t i = 1; i < tree.Nodes.size(); ++i) {
        TSizeNode& p = tree.Nodes[parents[i]];
        tree.Children[p.FirstChild + p.ChildCount++] = static_cast<int>(i);
    }
    return tree;
}

std::int64_t Sat(std::int64_t v) {
    return std::min(v, Cap);
}

// Rightmost pixel any part, label or rectangle reaches, drawing from x = DiagramStartX.
std::int64_t RightmostX(const TSizeTree& tree) {
    const std::size_t n = tree.Nodes.size();
    std::vector<std::int64_t> width(n, 0), x(n, 0);
    for (std::size_t k = n; k-- > 0;) {
        const TSizeNode& node = tree.Nodes[k];
        if (!node.Group) {
            width[k] = PartWidth;
            continue;
        }
        std::int64_t w = 0;
        for (int c = 0; c < node.ChildCount; ++c) {
            const std::int64_t cw = width[tree.Children[node.FirstChild + c]];
            w = node.Parallel ? std::max(w, cw) : Sat(w + cw);
        }
        if (node.Parallel && (node.ChildCount > 0 || k == 0)) w = Sat(w + 2 * GroupLeadLength);
        width[k] = w;
    }
    x[0] = DiagramStartX;
    std::int64_t right = Sat(x[0] + width[0] + GroupRectMargin);
    for (std::size_t k = 0; k < n; ++k) {
        const TSizeNode& node = tree.Nodes[k];
        if (!node.Group) {
            const std::int64_t centre = x[k] + ElementLeadLength + SymbolWidth / 2;
            right = std::max(right, Sat(centre + node.LabelRight));
            continue;
        }
        std::int64_t cx = node.Parallel ? x[k] + GroupLeadLength : x[k];
        for (int c = 0; c < node.ChildCount; ++c) {
            const int child = tree.Children[node.FirstChild + c];
            x[child] = cx;
            if (!node.Parallel) cx = Sat(cx + width[child]);
        }
    }
    return right;
}

// Vertical extents of one subtree around its line for one available height.
struct TExtent {
    std::int64_t Up = 0;
    std::int64_t Down = 0;
};

// Whether the drawing at this picture height keeps neighbouring branches apart and stays
// inside the picture.
bool Fits(const TSizeTree& tree, std::int64_t height) {
    const std::size_t n = tree.Nodes.size();
    std::vector<std::int64_t> h(n, 0);
    std::vector<TExtent> ext(n);
    h[0] = height / 2;
    for (std::size_t k = 0; k < n; ++k) {
        const TSizeNode& node = tree.Nodes[k];
        const bool split = node.Parallel && node.ChildCount > 1;
        for (int c = 0; c < node.ChildCount; ++c)
            h[tree.Children[node.FirstChild + c]] = split ? h[k] / node.ChildCount : h[k];
    }
    for (std::size_t k = n; k-- > 0;) {
        const TSizeNode& node = tree.Nodes[k];
        if (!node.Group) {
            ext[k] = {node.LabelUp, ElementRectHalfHeight};
            continue;
        }
        const int count = node.ChildCount;
        const bool split = node.Parallel && count > 1;
        TExtent e;
        std::int64_t previousLine = 0, previousDown = 0;
        for (int c = 0; c < count; ++c) {
            const TExtent& ce = ext[tree.Children[node.FirstChild + c]];
            const std::int64_t line = split ? h[k] * c / (count - 1) - h[k] / 2 : 0;
            if (split && c > 0 && line - previousLine < previousDown + BranchGap + ce.Up)
                return false;
            e.Up = std::max(e.Up, ce.Up - line);
            e.Down = std::max(e.Down, ce.Down + line);
            previousLine = line;
            previousDown = ce.Down;
        }
        ext[k] = e;
    }
    const std::int64_t y = height / 2, reach = GroupRectMargin + EdgeMargin;
    return y - ext[0].Up - reach >= 0 && y + ext[0].Down + reach <= height;
}

std::int64_t NeededHeight(const TSizeTree& tree) {
    std::int64_t hi = 16;
    while (!Fits(tree, hi)) {
        if (hi >= Cap) return Cap;
        hi = std::min(hi * 2, Cap);
    }
    std::int64_t lo = hi / 2;  // taken as not fitting; the answer always fits
    while (hi - lo > 1) {
        const std::int64_t mid = lo + (hi - lo) / 2;
        if (Fits(tree, mid))
            hi = mid;
        else
            lo = mid;
    }
    return hi;
}

}  // namespace

TDiagramSize NeededDiagramSize(const TCanvas& canvas, const TCircuitElementGroup& outerGroup,
                               TDiagramLabels labels) {
    const TSizeTree tree = Flatten(canvas, outerGroup, labels);
    const std::int64_t width = Sat(RightmostX(tree) + DiagramStartX);
    return {static_cast<int>(width), static_cast<int>(NeededHeight(tree))};
}

}  // namespace zeigora
