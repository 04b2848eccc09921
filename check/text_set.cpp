// The ordered set of texts: an AA tree over the items of the table, keyed by lstrcmpiA.
#include "check/text_set.h"

namespace {

constexpr int kNoNode = -1;

}  // namespace

void TextSet::Prepare(const char (*texts)[kPathCapacity], int count)
{
    texts_ = texts;
    count_ = count;
    root_ = kNoNode;
    nodes_ = count > 0 ? static_cast<TextSetNode*>(AllocateHeapBlock(nodeBlock_, sizeof(TextSetNode) * count)) : nullptr;
}

int TextSet::Find(const char* text) const
{
    if (nodes_ == nullptr) {
        for (int item = 0; item < count_; ++item) {
            if (texts_[item][0] != '\0' && lstrcmpiA(texts_[item], text) == 0)
                return item;
        }
        return kNoNode;
    }
    int node = root_;
    while (node != kNoNode) {
        int order = lstrcmpiA(text, texts_[node]);
        if (order == 0)
            return node;
        node = order < 0 ? nodes_[node].left : nodes_[node].right;
    }
    return kNoNode;
}

int TextSet::FindOrAdd(int item)
{
    if (nodes_ == nullptr) {
        for (int earlier = 0; earlier < item; ++earlier) {
            if (texts_[earlier][0] != '\0' && lstrcmpiA(texts_[earlier], texts_[item]) == 0)
                return earlier;
        }
        return kNoNode;
    }
    // An equal text is never added, so the one found is the first of its kind.
    int found = kNoNode;
    root_ = Insert(root_, item, &found);
    return found;
}

// A left child on the node's own level turns into its parent.
int TextSet::Skew(int node)
{
    int left = nodes_[node].left;
    if (left == kNoNode || nodes_[left].level != nodes_[node].level)
        return node;
    nodes_[node].left = nodes_[left].right;
    nodes_[left].right = node;
    return left;
}

// Two right children on the node's own level: the middle one rises a level.
int TextSet::Split(int node)
{
    int right = nodes_[node].right;
    if (right == kNoNode || nodes_[right].right == kNoNode || nodes_[nodes_[right].right].level != nodes_[node].level)
        return node;
    nodes_[node].right = nodes_[right].left;
    nodes_[right].left = node;
    ++nodes_[right].level;
    return right;
}

// One descent both looks for an equal text (each lstrcmpiA costs microseconds under Wine) and
// adds item where none is. The tree's height stays below twice the logarithm of its size, so
// the recursion is shallow; on the way back the levels are mended (nothing moves when the
// item was found).
int TextSet::Insert(int node, int item, int* found)
{
    if (node == kNoNode) {
        nodes_[item] = {kNoNode, kNoNode, 1};
        return item;
    }
    int order = lstrcmpiA(texts_[item], texts_[node]);
    if (order == 0) {
        *found = node;
        return node;
    }
    if (order < 0)
        nodes_[node].left = Insert(nodes_[node].left, item, found);
    else
        nodes_[node].right = Insert(nodes_[node].right, item, found);
    return Split(Skew(node));
}
