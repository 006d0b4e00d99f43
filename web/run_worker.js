// One of the page's workers, with an engine of its own: takes { beta, nm, seed, share, shares } and
// posts each step of its share of the run as { index, p } as soon as it is known. The page puts
// the steps of all its workers in order. A worker runs one share at a time, in the order asked.
const engineReady = createCorrelatoreEngine();
self.onmessage = async ({ data }) => {
  const engine = await engineReady;
  engine.simulateShare(data.beta, data.nm, data.seed, data.share, data.shares, (index, p) => {
    self.postMessage({ index, p });
  });
};
