// The run's worker: takes { beta, nm, seed } and posts each step's { s, p } as soon as it is known,
// then { type: 'done' }. Runs come one at a time; the page never sends the next before 'done'.
const engineReady = createCorrelatoreEngine();
self.onmessage = async ({ data }) => {
  const engine = await engineReady;
  engine.simulateRun(data.beta, data.nm, data.seed, (index, s, p) => {
    self.postMessage({ type: 'step', index, s, p });
  });
  self.postMessage({ type: 'done' });
};
