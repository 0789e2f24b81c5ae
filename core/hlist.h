// HList<T>: the program's only collection.  An ordered list of values with
// 0-based positions, held in a circular doubly linked ring through a
// sentinel node.  insertTail, getLast and removeHead (which removes the
// *last* element) make it a stack whose top is its end.
//
// Misuse (a bad position, an empty list where an element is needed) and
// exhausted memory end the process with a fixed message.
#pragma once

#include <cstddef>
#include <cstdlib>
#include <iterator>
#include <mutex>
#include <new>
#include <type_traits>
#include <vector>

#include "core/fatal.h"

template <class T>
class HList {
 public:
  struct Node {
    T element;
    Node* next;
    Node* previous;
  };

  HList() : sentinel_(newSentinel()), count_(0) {}
  HList(const HList& other) : HList() { appendAll(other); }
  HList(HList&& other) noexcept : HList() { swap(other); }
  HList& operator=(const HList& other) {
    if (this != &other) {
      destroyNodes();
      deleteNode(sentinel_);
      sentinel_ = newSentinel();
      count_ = 0;
      appendAll(other);
    }
    return *this;
  }
  HList& operator=(HList&& other) noexcept {
    if (this != &other) swap(other);
    return *this;
  }
  ~HList() {
    destroyNodes();
    deleteNode(sentinel_);
  }

  int getCount() const { return count_; }

  // Appends a copy at the end.
  void insertTail(const T& element) { link(newNode(element), sentinel_->previous, sentinel_); }
  void insertTail(T&& element) { link(newNode(static_cast<T&&>(element)), sentinel_->previous, sentinel_); }
  // Inserts a copy at position 0.
  void insertHead(const T& element) {
    link(newNode(element), sentinel_, sentinel_->next);
    forget();
  }
  void insertHead(T&& element) {
    link(newNode(static_cast<T&&>(element)), sentinel_, sentinel_->next);
    forget();
  }

  // The element at a position in 0 .. count - 1.
  T& operator[](int position) { return nodeAt(position)->element; }
  const T& operator[](int position) const { return nodeAt(position)->element; }

  // The last element (position count - 1).
  T& getLast() {
    if (count_ == 0) fatal("Errore nel metodo HList<T>::getLast(): List vuota");
    return sentinel_->previous->element;
  }
  const T& getLast() const { return const_cast<HList*>(this)->getLast(); }

  // Removes the last element and returns it.
  T removeHead() {
    if (count_ == 0) fatal("Errore nel metodo HList<T>::removeHead(): List vuota");
    Node* node = sentinel_->previous;
    unlink(node);
    T element = static_cast<T&&>(node->element);
    deleteNode(node);
    return element;
  }

  // Removes the element at a position; false (and no change) beyond the end.
  bool remove(int position) {
    if (position < 0 || position >= count_) return false;
    Node* node = nodeAt(position);
    unlink(node);
    deleteNode(node);
    return true;
  }

  // The position of the first element equal to the argument, or -1.
  int search(const T& element) const {
    int position = 0;
    for (const Node* node = sentinel_->next; node != sentinel_; node = node->next, ++position)
      if (node->element == element) return position;
    return -1;
  }

  // Forward iteration from position 0, for range-based for loops.
  template <class Value, class NodePointer>
  class Iterator {
   public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = std::remove_const_t<Value>;
    using difference_type = std::ptrdiff_t;
    using pointer = Value*;
    using reference = Value&;

    explicit Iterator(NodePointer node) : node_(node) {}
    Value& operator*() const { return node_->element; }
    Value* operator->() const { return &node_->element; }
    Iterator& operator++() {
      node_ = node_->next;
      return *this;
    }
    bool operator!=(const Iterator& other) const { return node_ != other.node_; }
    bool operator==(const Iterator& other) const { return node_ == other.node_; }

   private:
    NodePointer node_;
  };
  using iterator = Iterator<T, Node*>;
  using const_iterator = Iterator<const T, const Node*>;
  iterator begin() { return iterator(sentinel_->next); }
  iterator end() { return iterator(sentinel_); }
  const_iterator begin() const { return const_iterator(sentinel_->next); }
  const_iterator end() const { return const_iterator(sentinel_); }

 private:
  static Node* newSentinel() {
    void* memory = pool().take();
    if (memory == nullptr) fatal("Err nel metodo costruttore HList<T>::HList() impos allcare memoria");
    Node* node = new (memory) Node{T(), nullptr, nullptr};
    node->next = node->previous = node;
    return node;
  }

  // The element is built in place, by copy or by move, rather than
  // assigned to a default one: the same value, one construction less.
  template <class Element>
  static Node* newNode(Element&& element) {
    void* memory = pool().take();
    if (memory == nullptr) fatal("Errore nel metodo HList<T>::insertTail(): Memoria esaurita");
    return new (memory) Node{static_cast<Element&&>(element), nullptr, nullptr};
  }

  static void deleteNode(Node* node) {
    node->~Node();
    pool().give(node);
  }

  // Nodes of one element type come from chunks and go back to a free list:
  // tables and traces make and drop them by the hundred thousand, and the
  // general allocator costs more than the work done on them.  Each thread
  // keeps its own free list, so that a command may run on a worker thread
  // while the window works on its own lists; a node freed on another thread
  // than the one that made it joins that thread's list, and the free list of
  // a thread that ends waits for the next thread that runs short.  The
  // chunks belong to the process and live until it ends, since lists move
  // between threads.
  class NodePool {
   public:
    void* take() {
      Slot*& free = freeList();
      if (free == nullptr && !adoptOrphan(free) && !grow(free)) return nullptr;
      Slot* slot = free;
      free = slot->next;
      return slot;
    }
    void give(void* memory) {
      Slot* slot = static_cast<Slot*>(memory);
      Slot*& free = freeList();
      slot->next = free;
      free = slot;
    }
    ~NodePool() {
      for (void* chunk : chunks_) std::free(chunk);
    }

   private:
    union Slot {
      Slot* next;
      alignas(Node) unsigned char storage[sizeof(Node)];
    };
    static constexpr int kChunk = 256;
    // A plain pointer: it needs no destruction, so lists that outlive the
    // thread's other objects at exit can still give their nodes back.
    static Slot*& freeList() {
      thread_local Slot* free = nullptr;
      return free;
    }
    // Leaves the free list of an ending thread to the others.  Made on a
    // thread's first chunk or adoption, so that it ends after the thread's
    // lists that were made since.
    struct ThreadEnd {
      ~ThreadEnd() {
        Slot*& free = freeList();
        if (free != nullptr) pool().orphan(free);
        free = nullptr;
      }
    };
    static void watchThreadEnd() { thread_local ThreadEnd end; }
    void orphan(Slot* list) {
      std::lock_guard<std::mutex> lock(mutex_);
      try {
        orphans_.push_back(list);
      } catch (const std::bad_alloc&) {  // the nodes stay unused, nothing breaks
      }
    }
    bool adoptOrphan(Slot*& free) {
      std::lock_guard<std::mutex> lock(mutex_);
      if (orphans_.empty()) return false;
      watchThreadEnd();
      free = orphans_.back();
      orphans_.pop_back();
      return true;
    }
    bool grow(Slot*& free) {
      watchThreadEnd();
      Slot* chunk = static_cast<Slot*>(std::malloc(sizeof(Slot) * kChunk));
      if (chunk == nullptr) return false;
      {
        std::lock_guard<std::mutex> lock(mutex_);
        try {
          chunks_.push_back(chunk);
        } catch (const std::bad_alloc&) {
          std::free(chunk);
          return false;
        }
      }
      for (int k = kChunk - 1; k >= 0; --k) {
        chunk[k].next = free;
        free = &chunk[k];
      }
      return true;
    }
    std::mutex mutex_;
    std::vector<void*> chunks_;
    std::vector<Slot*> orphans_;  // free lists of threads that ended
  };

  static NodePool& pool() {
    static NodePool nodes;
    return nodes;
  }

  void link(Node* node, Node* before, Node* after) {
    node->previous = before;
    node->next = after;
    before->next = node;
    after->previous = node;
    ++count_;
  }

  void unlink(Node* node) {
    node->previous->next = node->next;
    node->next->previous = node->previous;
    --count_;
    forget();
  }

  // Walks from the nearest known node: the front, the back, or the node of
  // the last access, so ascending and descending loops cost linear time.
  Node* nodeAt(int position) const {
    if (position < 0 || position >= count_)
      fatal("Errore nel metodo HList<T>::operator[](T): indice fuori limite");
    Node* node = sentinel_->next;
    int at = 0;
    if (cached_ != nullptr && std::abs(cachedPosition_ - position) < position) {
      node = cached_;
      at = cachedPosition_;
    }
    if (count_ - 1 - position < std::abs(at - position)) {
      node = sentinel_->previous;
      at = count_ - 1;
    }
    for (; at < position; ++at) node = node->next;
    for (; at > position; --at) node = node->previous;
    cached_ = node;
    cachedPosition_ = position;
    return node;
  }

  void forget() { cached_ = nullptr; }

  void appendAll(const HList& other) {
    for (const Node* node = other.sentinel_->next; node != other.sentinel_; node = node->next)
      insertTail(node->element);
  }

  void destroyNodes() {
    Node* node = sentinel_->next;
    while (node != sentinel_) {
      Node* next = node->next;
      deleteNode(node);
      node = next;
    }
    sentinel_->next = sentinel_->previous = sentinel_;
    count_ = 0;
    forget();
  }

  void swap(HList& other) noexcept {
    Node* s = sentinel_;
    sentinel_ = other.sentinel_;
    other.sentinel_ = s;
    int c = count_;
    count_ = other.count_;
    other.count_ = c;
    forget();
    other.forget();
  }

  Node* sentinel_;
  int count_;
  mutable Node* cached_ = nullptr;
  mutable int cachedPosition_ = 0;
};
