// A singly linked list that owns its elements. add() puts the new element in front, so a list
// walked from its head runs in the reverse order of addition.
#pragma once

#include <cstdint>

template <typename T>
class ElementList {
 public:
  struct Node {
    Node* next = nullptr;
    T* element = nullptr;
  };

  ElementList() = default;
  ~ElementList() { clear(); }
  ElementList(const ElementList&) = delete;
  ElementList& operator=(const ElementList&) = delete;

  T* add() {
    Node* node = new Node;
    node->element = new T();
    node->next = head;
    head = node;
    ++count;
    return node->element;
  }
  Node* first() const { return head; }
  void clear() {
    while (head) {
      Node* node = head;
      head = node->next;
      delete node->element;
      delete node;
      --count;
    }
  }

  Node* head = nullptr;
  int32_t count = 0;
};
